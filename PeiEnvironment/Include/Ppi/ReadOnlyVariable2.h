/** @file
  Read-only variable service PPI.
**/
#ifndef PPI_READ_ONLY_VARIABLE2_H_
#define PPI_READ_ONLY_VARIABLE2_H_

#include <PiPei.h>

typedef struct _EFI_PEI_READ_ONLY_VARIABLE2_PPI EFI_PEI_READ_ONLY_VARIABLE2_PPI;

typedef EFI_STATUS (EFIAPI *EFI_PEI_GET_VARIABLE2)(
  IN CONST EFI_PEI_READ_ONLY_VARIABLE2_PPI *This,
  IN CONST CHAR16                          *VariableName,
  IN CONST EFI_GUID                        *VariableGuid,
  OUT UINT32                               *Attributes OPTIONAL,
  IN OUT UINTN                             *DataSize,
  OUT VOID                                 *Data OPTIONAL
  );

typedef EFI_STATUS (EFIAPI *EFI_PEI_GET_NEXT_VARIABLE_NAME2)(
  IN CONST EFI_PEI_READ_ONLY_VARIABLE2_PPI *This,
  IN OUT UINTN                             *VariableNameSize,
  IN OUT CHAR16                            *VariableName,
  IN OUT EFI_GUID                          *VariableGuid
  );

struct _EFI_PEI_READ_ONLY_VARIABLE2_PPI {
  EFI_PEI_GET_VARIABLE2            GetVariable;
  EFI_PEI_GET_NEXT_VARIABLE_NAME2  NextVariableName;
};

extern EFI_GUID gEfiPeiReadOnlyVariable2PpiGuid;

#endif
