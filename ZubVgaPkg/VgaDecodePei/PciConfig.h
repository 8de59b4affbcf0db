/** @file
  Checked PCI configuration accesses through the PEI services' PCI configuration PPI.
  A failed access prints its status, width (0 = 8, 1 = 16, 2 = 32 bits) and address
  (bus << 24 | device << 16 | function << 8 | offset) and returns the status.
**/
#ifndef PCI_CONFIG_H_
#define PCI_CONFIG_H_

#include <PiPei.h>

typedef struct {
  UINT8  Bus;
  UINT8  Device;
  UINT8  Function;
} PCI_LOCATION;

EFI_STATUS PciConfigRead8 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT8 *Value);
EFI_STATUS PciConfigRead16 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT16 *Value);
EFI_STATUS PciConfigRead32 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT32 *Value);
EFI_STATUS PciConfigWrite8 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT8 Value);
EFI_STATUS PciConfigWrite16 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT16 Value);
EFI_STATUS PciConfigWrite32 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT32 Value);

#endif
