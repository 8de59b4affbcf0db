/** @file
  PCD service PPI: dynamic PCDs by token number.
**/
#ifndef PPI_PCD_H_
#define PPI_PCD_H_

#include <PiPei.h>

typedef VOID     (EFIAPI *PCD_PPI_SET_SKU)(IN UINTN SkuId);
typedef UINT8    (EFIAPI *PCD_PPI_GET8)(IN UINTN TokenNumber);
typedef UINT16   (EFIAPI *PCD_PPI_GET16)(IN UINTN TokenNumber);
typedef UINT32   (EFIAPI *PCD_PPI_GET32)(IN UINTN TokenNumber);
typedef UINT64   (EFIAPI *PCD_PPI_GET64)(IN UINTN TokenNumber);
typedef VOID *   (EFIAPI *PCD_PPI_GET_POINTER)(IN UINTN TokenNumber);
typedef BOOLEAN  (EFIAPI *PCD_PPI_GET_BOOLEAN)(IN UINTN TokenNumber);
typedef UINTN    (EFIAPI *PCD_PPI_GET_SIZE)(IN UINTN TokenNumber);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET8)(IN UINTN TokenNumber, IN UINT8 Value);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET16)(IN UINTN TokenNumber, IN UINT16 Value);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET32)(IN UINTN TokenNumber, IN UINT32 Value);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET64)(IN UINTN TokenNumber, IN UINT64 Value);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET_POINTER)(IN UINTN TokenNumber, IN OUT UINTN *SizeOfBuffer, IN VOID *Buffer);
typedef EFI_STATUS (EFIAPI *PCD_PPI_SET_BOOLEAN)(IN UINTN TokenNumber, IN BOOLEAN Value);

typedef struct {
  PCD_PPI_SET_SKU      SetSku;
  PCD_PPI_GET8         Get8;
  PCD_PPI_GET16        Get16;
  PCD_PPI_GET32        Get32;
  PCD_PPI_GET64        Get64;
  PCD_PPI_GET_POINTER  GetPtr;
  PCD_PPI_GET_BOOLEAN  GetBool;
  PCD_PPI_GET_SIZE     GetSize;
  PCD_PPI_SET8         Set8;
  PCD_PPI_SET16        Set16;
  PCD_PPI_SET32        Set32;
  PCD_PPI_SET64        Set64;
  PCD_PPI_SET_POINTER  SetPtr;
  PCD_PPI_SET_BOOLEAN  SetBool;
} PCD_PPI;

extern EFI_GUID gPcdPpiGuid;

#endif
