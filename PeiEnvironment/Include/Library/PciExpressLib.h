/** @file
  PCI Express configuration space through the memory-mapped window at the platform's
  PCI Express base (PcdPciExpressBaseAddress, 0x80000000 on this board).
**/
#ifndef PCI_EXPRESS_LIB_H_
#define PCI_EXPRESS_LIB_H_

#include <Uefi/UefiBaseType.h>

#define PCI_EXPRESS_LIB_ADDRESS(Bus, Device, Function, Register) \
  ((((UINTN)(Bus) & 0xFF) << 20) | (((UINTN)(Device) & 0x1F) << 15) | \
   (((UINTN)(Function) & 0x07) << 12) | ((UINTN)(Register) & 0xFFF))

#define PCI_EXPRESS_BASE_ADDRESS_DEFAULT  0x80000000u

UINTN   EFIAPI PciExpressBase (VOID);
UINT8   EFIAPI PciExpressRead8 (IN UINTN Address);
UINT16  EFIAPI PciExpressRead16 (IN UINTN Address);
UINT32  EFIAPI PciExpressRead32 (IN UINTN Address);
UINT8   EFIAPI PciExpressWrite8 (IN UINTN Address, IN UINT8 Value);
UINT16  EFIAPI PciExpressWrite16 (IN UINTN Address, IN UINT16 Value);
UINT32  EFIAPI PciExpressWrite32 (IN UINTN Address, IN UINT32 Value);

#endif
