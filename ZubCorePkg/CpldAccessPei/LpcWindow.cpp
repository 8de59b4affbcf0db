/** @file
  Opening and closing the LPC generic memory window: the DMI copy in the PCH sideband
  space first, then the LPC bridge's own register 0x98.
**/
#include "LpcWindow.h"

#include <Library/BaseLib.h>
#include <Library/IoLib.h>
#include <RefCode/RcHostPointerTable.h>

#define DMI_LPC_GENERIC_MEMORY_RANGE  0xFDEF2740u   // sideband port 0xEF, offset 0x2740
#define SIDEBAND_POSTED_WRITE_FLUSH   0xFDC73418u
#define LPC_GENERIC_MEMORY_RANGE      0x98
#define LPC_RANGE_ENABLE              BIT0
#define BRACKET_REGISTER              0x20

STATIC UINTN
PcieCfgAddress (
  IN UINT8   Device,
  IN UINT8   Function,
  IN UINT32  Register
  )
{
  RC_HOST_POINTER_TABLE  *Table;
  RC_SILICON_SERVICES    *Services;

  Table = (RC_HOST_POINTER_TABLE *)(UINTN)AsmReadMm7 ();
  if (Table == NULL) {
    return 0;
  }
  Services = (RC_SILICON_SERVICES *)(UINTN)Table->SiliconServices;
  if ((Services == NULL) || (Services->GetPcieCfgAddress == NULL)) {
    return 0;
  }
  return Services->GetPcieCfgAddress (0, 0, Device, Function, Register);
}

STATIC VOID
SidebandWrite (
  IN UINT32  Value
  )
{
  MmioWrite32 (DMI_LPC_GENERIC_MEMORY_RANGE, Value);
  MmioRead32 (SIDEBAND_POSTED_WRITE_FLUSH);
}

STATIC VOID
LpcRangeWrite (
  IN UINT32  Value
  )
{
  UINTN  Address;

  Address = PcieCfgAddress (31, 0, LPC_GENERIC_MEMORY_RANGE);
  if (Address == 0) {
    return;
  }
  MmioWrite32 (Address, MmioRead32 (Address) & ~(UINT32)LPC_RANGE_ENABLE);
  MmioWrite32 (Address, Value);
}

VOID
LpcWindowOpen (
  OUT LPC_WINDOW  *Window,
  IN  UINT32      CpldBase
  )
{
  //
  // The bracketed register is the one the reference code's service names for device 0,
  // function 0x1C; its 3-bit function field makes that 0:0.4.
  //
  Window->Bracket = PcieCfgAddress (0, 0x1C, BRACKET_REGISTER);
  if (Window->Bracket != 0) {
    Window->BracketSaved = MmioRead32 (Window->Bracket);
    MmioWrite32 (Window->Bracket, 0);
  }
  SidebandWrite (CpldBase | LPC_RANGE_ENABLE);
  LpcRangeWrite (CpldBase | LPC_RANGE_ENABLE);
}

VOID
LpcWindowClose (
  IN LPC_WINDOW  *Window
  )
{
  SidebandWrite (0);
  LpcRangeWrite (0);
  if (Window->Bracket != 0) {
    MmioWrite32 (Window->Bracket, Window->BracketSaved);
  }
}
