/** @file
  Read-modify-write helpers over the machine's port and MMIO instructions.
**/
#include <Library/IoLib.h>

UINT8 EFIAPI IoAndThenOr8 (IN UINTN Port, IN UINT8 AndData, IN UINT8 OrData)
{
  return IoWrite8 (Port, (UINT8)((IoRead8 (Port) & AndData) | OrData));
}

UINT32 EFIAPI MmioAnd32 (IN UINTN Address, IN UINT32 AndData) { return MmioWrite32 (Address, MmioRead32 (Address) & AndData); }
UINT32 EFIAPI MmioOr32 (IN UINTN Address, IN UINT32 OrData)   { return MmioWrite32 (Address, MmioRead32 (Address) | OrData); }
UINT8  EFIAPI MmioAnd8 (IN UINTN Address, IN UINT8 AndData)   { return MmioWrite8 (Address, (UINT8)(MmioRead8 (Address) & AndData)); }
UINT8  EFIAPI MmioOr8 (IN UINTN Address, IN UINT8 OrData)     { return MmioWrite8 (Address, (UINT8)(MmioRead8 (Address) | OrData)); }
