/** @file
  Status-code listener registration (RSC handler PPI).
**/
#ifndef PPI_REPORT_STATUS_CODE_HANDLER_H_
#define PPI_REPORT_STATUS_CODE_HANDLER_H_

#include <PiPei.h>

typedef EFI_STATUS (EFIAPI *EFI_PEI_RSC_HANDLER_CALLBACK)(
  IN CONST EFI_PEI_SERVICES     **PeiServices,
  IN EFI_STATUS_CODE_TYPE       Type,
  IN EFI_STATUS_CODE_VALUE      Value,
  IN UINT32                     Instance,
  IN CONST EFI_GUID             *CallerId,
  IN CONST EFI_STATUS_CODE_DATA *Data
  );

typedef EFI_STATUS (EFIAPI *EFI_PEI_RSC_HANDLER_REGISTER)(IN EFI_PEI_RSC_HANDLER_CALLBACK Callback);
typedef EFI_STATUS (EFIAPI *EFI_PEI_RSC_HANDLER_UNREGISTER)(IN EFI_PEI_RSC_HANDLER_CALLBACK Callback);

typedef struct {
  EFI_PEI_RSC_HANDLER_REGISTER    Register;
  EFI_PEI_RSC_HANDLER_UNREGISTER  Unregister;
} EFI_PEI_RSC_HANDLER_PPI;

extern EFI_GUID gEfiPeiRscHandlerPpiGuid;

#endif
