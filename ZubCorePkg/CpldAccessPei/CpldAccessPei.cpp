/** @file
  CpldAccessPei: LPC_CPLD_PPI for other PEIMs. Each access opens the LPC window, makes
  one memory access at the CPLD base plus the offset, and closes the window again.
**/
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/LpcCpld.h>

#include "LpcWindow.h"

#define WIDTH_8   0
#define WIDTH_16  1
#define WIDTH_32  2

STATIC EFI_STATUS
CheckAccess (
  IN LPC_CPLD_PPI  *This,
  IN UINTN         CpldType,
  IN BOOLEAN       Read,
  IN VOID          *Value
  )
{
  if ((This == NULL) || (Read && (Value == NULL))) {
    ASSERT (FALSE);
    DEBUG ((DEBUG_ERROR, "Input null pointer."));
    return EFI_INVALID_PARAMETER;
  }
  if (CpldType != LPC_CPLD_TYPE_LPC) {
    DEBUG ((DEBUG_INFO, "Unsupported cpld type\n"));
    return EFI_UNSUPPORTED;
  }
  return EFI_SUCCESS;
}

STATIC EFI_STATUS
CpldAccess (
  IN     LPC_CPLD_PPI  *This,
  IN     UINTN         CpldType,
  IN     UINTN         Offset,
  IN     UINTN         Width,
  IN     BOOLEAN       Read,
  IN OUT UINT32        *Value
  )
{
  UINT32      Base;
  UINTN       Address;
  LPC_WINDOW  Window;
  EFI_STATUS  Status;

  Base   = PcdGet32 (PcdZubLpcCpldBase);
  Status = CheckAccess (This, CpldType, Read, Value);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Address = (UINTN)Base + Offset;
  LpcWindowOpen (&Window, Base);
  if (Read) {
    switch (Width) {
      case WIDTH_8:  *Value = MmioRead8 (Address); break;
      case WIDTH_16: *Value = MmioRead16 (Address); break;
      default:       *Value = MmioRead32 (Address); break;
    }
  } else {
    switch (Width) {
      case WIDTH_8:  MmioWrite8 (Address, (UINT8)*Value); break;
      case WIDTH_16: MmioWrite16 (Address, (UINT16)*Value); break;
      default:       MmioWrite32 (Address, *Value); break;
    }
  }
  LpcWindowClose (&Window);
  if (Read) {
    DEBUG ((DEBUG_INFO, "ZubLpcCpldRead Offset %x, Width %x, Value 0x%x\n", Address, Width, *Value));
  }
  return EFI_SUCCESS;
}

//
// 8- and 16-bit reads go through a 32-bit value; the caller's narrower buffer is written
// only when the read was done.
//
STATIC EFI_STATUS
CpldReadNarrow (
  IN  LPC_CPLD_PPI  *This,
  IN  UINTN         CpldType,
  IN  UINTN         Offset,
  IN  UINTN         Width,
  OUT VOID          *Value
  )
{
  UINT32      Data;
  EFI_STATUS  Status;

  Status = CpldAccess (This, CpldType, Offset, Width, TRUE, (Value == NULL) ? NULL : &Data);
  if (!EFI_ERROR (Status)) {
    if (Width == WIDTH_8) {
      *(UINT8 *)Value = (UINT8)Data;
    } else {
      *(UINT16 *)Value = (UINT16)Data;
    }
  }
  return Status;
}

STATIC EFI_STATUS EFIAPI
CpldRead8 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT8 *Value)
{
  return CpldReadNarrow (This, CpldType, Offset, WIDTH_8, Value);
}

STATIC EFI_STATUS EFIAPI
CpldRead16 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT16 *Value)
{
  return CpldReadNarrow (This, CpldType, Offset, WIDTH_16, Value);
}

STATIC EFI_STATUS EFIAPI
CpldRead32 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, OUT UINT32 *Value)
{
  return CpldAccess (This, CpldType, Offset, WIDTH_32, TRUE, Value);
}

STATIC EFI_STATUS EFIAPI
CpldWrite8 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT8 Value)
{
  UINT32  Data = Value;

  return CpldAccess (This, CpldType, Offset, WIDTH_8, FALSE, &Data);
}

STATIC EFI_STATUS EFIAPI
CpldWrite16 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT16 Value)
{
  UINT32  Data = Value;

  return CpldAccess (This, CpldType, Offset, WIDTH_16, FALSE, &Data);
}

STATIC EFI_STATUS EFIAPI
CpldWrite32 (IN LPC_CPLD_PPI *This, IN UINTN CpldType, IN UINTN Offset, IN UINT32 Value)
{
  return CpldAccess (This, CpldType, Offset, WIDTH_32, FALSE, &Value);
}

STATIC LPC_CPLD_PPI  mLpcCpldPpi = {
  CpldRead8, CpldWrite8, CpldRead16, CpldWrite16, CpldRead32, CpldWrite32
};

STATIC EFI_PEI_PPI_DESCRIPTOR  mLpcCpldDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gLpcCpldPpiGuid,
  &mLpcCpldPpi
};

extern "C" EFI_STATUS EFIAPI
CpldAccessPeiEntry (
  IN       EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES        **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "CpldAccessPeiEntry --- start\n"));
  Status = PeiServicesInstallPpi (&mLpcCpldDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install Lpc CPLD ppi %r\n", Status));
    return Status;
  }
  return EFI_SUCCESS;
}
