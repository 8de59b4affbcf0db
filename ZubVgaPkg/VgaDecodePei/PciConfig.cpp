/** @file
  PCI configuration accesses over the PCI configuration PPI of the PEI services table.
**/
#include "PciConfig.h"

#include <Library/DebugLib.h>
#include <Library/PeiServicesTablePointerLib.h>

STATIC
EFI_STATUS
PciConfigAccess (
  IN     BOOLEAN                    Write,
  IN     CONST PCI_LOCATION         *Location,
  IN     UINT16                     Offset,
  IN     EFI_PEI_PCI_CFG_PPI_WIDTH  Width,
  IN OUT VOID                       *Buffer
  )
{
  CONST EFI_PEI_SERVICES  **PeiServices;
  EFI_PEI_PCI_CFG2_PPI    *PciCfg;
  UINT64                  Address;
  EFI_STATUS              Status;

  PeiServices = GetPeiServicesTablePointer ();
  PciCfg      = (*PeiServices)->PciCfg;
  Address     = EFI_PEI_PCI_CFG_ADDRESS (Location->Bus, Location->Device, Location->Function, Offset);
  if (Write) {
    Status = PciCfg->Write (PeiServices, PciCfg, Width, Address, Buffer);
  } else {
    Status = PciCfg->Read (PeiServices, PciCfg, Width, Address, Buffer);
  }

  if (EFI_ERROR (Status)) {
    DEBUG ((
      DEBUG_ERROR,
      Write ? "Failed to write pci: %r %u 0x%08X\n" : "Failed to read pci: %r %u 0x%08X\n",
      Status,
      (UINT32)Width,
      ((UINT32)Location->Bus << 24) | ((UINT32)Location->Device << 16) |
      ((UINT32)Location->Function << 8) | Offset
      ));
  }

  return Status;
}

EFI_STATUS
PciConfigRead8 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT8 *Value)
{
  return PciConfigAccess (FALSE, Location, Offset, EfiPeiPciCfgWidthUint8, Value);
}

EFI_STATUS
PciConfigRead16 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT16 *Value)
{
  return PciConfigAccess (FALSE, Location, Offset, EfiPeiPciCfgWidthUint16, Value);
}

EFI_STATUS
PciConfigRead32 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, OUT UINT32 *Value)
{
  return PciConfigAccess (FALSE, Location, Offset, EfiPeiPciCfgWidthUint32, Value);
}

EFI_STATUS
PciConfigWrite8 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT8 Value)
{
  return PciConfigAccess (TRUE, Location, Offset, EfiPeiPciCfgWidthUint8, &Value);
}

EFI_STATUS
PciConfigWrite16 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT16 Value)
{
  return PciConfigAccess (TRUE, Location, Offset, EfiPeiPciCfgWidthUint16, &Value);
}

EFI_STATUS
PciConfigWrite32 (IN CONST PCI_LOCATION *Location, IN UINT16 Offset, IN UINT32 Value)
{
  return PciConfigAccess (TRUE, Location, Offset, EfiPeiPciCfgWidthUint32, &Value);
}
