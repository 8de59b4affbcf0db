/** @file
  PCI Express configuration access through the memory-mapped window. The base comes
  from the platform's PCD; a PCD database that does not know it leaves the board's
  fixed 0x80000000.
**/
#include <Library/PciExpressLib.h>
#include <Library/PcdLib.h>
#include <Library/IoLib.h>

UINTN EFIAPI PciExpressBase (VOID)
{
  UINT64  Base = PcdGet64 (PcdPciExpressBaseAddress);

  return (Base != 0) ? (UINTN)Base : PCI_EXPRESS_BASE_ADDRESS_DEFAULT;
}

UINT8  EFIAPI PciExpressRead8 (IN UINTN Address)  { return MmioRead8 (PciExpressBase () + Address); }
UINT16 EFIAPI PciExpressRead16 (IN UINTN Address) { return MmioRead16 (PciExpressBase () + Address); }
UINT32 EFIAPI PciExpressRead32 (IN UINTN Address) { return MmioRead32 (PciExpressBase () + Address); }
UINT8  EFIAPI PciExpressWrite8 (IN UINTN Address, IN UINT8 Value)   { return MmioWrite8 (PciExpressBase () + Address, Value); }
UINT16 EFIAPI PciExpressWrite16 (IN UINTN Address, IN UINT16 Value) { return MmioWrite16 (PciExpressBase () + Address, Value); }
UINT32 EFIAPI PciExpressWrite32 (IN UINTN Address, IN UINT32 Value) { return MmioWrite32 (PciExpressBase () + Address, Value); }
