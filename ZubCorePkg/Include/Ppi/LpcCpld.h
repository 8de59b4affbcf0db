/** @file
  LPC_CPLD_PPI: byte, word and dword access to the board's CPLD registers on the LPC bus.
  Every access opens the PCH's LPC generic memory window around itself.
**/
#ifndef LPC_CPLD_PPI_H_
#define LPC_CPLD_PPI_H_

#include <PiPei.h>

#define LPC_CPLD_TYPE_LPC  0   // the only CPLD of the board

typedef struct _LPC_CPLD_PPI LPC_CPLD_PPI;

typedef EFI_STATUS (EFIAPI *LPC_CPLD_READ8)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT8 *Value);
typedef EFI_STATUS (EFIAPI *LPC_CPLD_WRITE8)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT8 Value);
typedef EFI_STATUS (EFIAPI *LPC_CPLD_READ16)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT16 *Value);
typedef EFI_STATUS (EFIAPI *LPC_CPLD_WRITE16)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT16 Value);
typedef EFI_STATUS (EFIAPI *LPC_CPLD_READ32)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT32 *Value);
typedef EFI_STATUS (EFIAPI *LPC_CPLD_WRITE32)(IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT32 Value);

struct _LPC_CPLD_PPI {
  LPC_CPLD_READ8    CpldRead8;
  LPC_CPLD_WRITE8   CpldWrite8;
  LPC_CPLD_READ16   CpldRead16;
  LPC_CPLD_WRITE16  CpldWrite16;
  LPC_CPLD_READ32   CpldRead32;
  LPC_CPLD_WRITE32  CpldWrite32;
};

extern EFI_GUID gLpcCpldPpiGuid;

#endif
