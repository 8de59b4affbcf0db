/** @file
  FlashWriteLib: range check, erase before write and the BIOS write-protect bit around
  every operation, on top of the PCH SPI flash PPI.
**/
#include <PiPei.h>
#include <Library/BaseLib.h>
#include <Library/DebugLib.h>
#include <Library/FlashWriteLib.h>
#include <Library/IoLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/PchSpi.h>
#include <RefCode/RcHostPointerTable.h>

#define SPI_BUS                 0
#define SPI_DEVICE              31
#define SPI_FUNCTION            5
#define SPI_BIOS_CONTROL        0xDC
#define SPI_BIOS_WRITE_PROTECT  BIT5

//
// The SPI controller's BIOS control byte, as the reference code's register-access service
// maps it. 0 when the reference code has published no services.
//
STATIC
UINTN
BiosControlAddress (
  VOID
  )
{
  RC_HOST_POINTER_TABLE  *Table;
  RC_SILICON_SERVICES    *Services;

  Table = (RC_HOST_POINTER_TABLE *)(UINTN)AsmReadMm7 ();
  if ((Table == NULL) || (Table->SiliconServices == 0)) {
    return 0;
  }

  Services = (RC_SILICON_SERVICES *)(UINTN)Table->SiliconServices;
  if (Services->GetPcieCfgAddress == NULL) {
    return 0;
  }

  return Services->GetPcieCfgAddress (0, SPI_BUS, SPI_DEVICE, SPI_FUNCTION, SPI_BIOS_CONTROL);
}

//
// Region query, range check, erase and, with Data, write.
//
STATIC
EFI_STATUS
FlashCommon (
  IN PCH_SPI_PPI  *Spi,
  IN UINT32       Offset,
  IN UINT32       Length,
  IN VOID         *Data OPTIONAL
  )
{
  EFI_STATUS  Status;
  UINT32      BiosBase;
  UINT32      BiosSize;

  BiosBase = 0;
  BiosSize = 0;
  Status   = Spi->GetRegionAddress (Spi, FlashRegionBios, &BiosBase, &BiosSize);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get bios spi base %r\n", Status));
    return Status;
  }

  DEBUG ((DEBUG_INFO, "BIOS Address: 0x%x  size:%u(0x%x)\n", BiosBase, BiosSize, BiosSize));
  if ((UINT64)Offset + Length > BiosSize) {
    DEBUG ((DEBUG_ERROR, "Out of bios range %u %u\n", Length, Offset));
    return EFI_INVALID_PARAMETER;
  }

  Status = Spi->FlashErase (Spi, FlashRegionBios, Offset, Length);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to erase flash 0x%x %u %r\n", Offset, Length, Status));
    return Status;
  }

  if (Data != NULL) {
    Status = Spi->FlashWrite (Spi, FlashRegionBios, Offset, Length, (UINT8 *)Data);
    if (EFI_ERROR (Status)) {
      DEBUG ((DEBUG_ERROR, "Failed to write flash 0x%x %u %r\n", Offset, Length, Status));
      return Status;
    }
  }

  return EFI_SUCCESS;
}

//
// Locates the PPI, releases the write-protect bit, runs the common step and restores
// the bit as it was found, whatever the common step returned.
//
STATIC
EFI_STATUS
FlashOperation (
  IN UINT32  Offset,
  IN UINT32  Length,
  IN VOID    *Data OPTIONAL
  )
{
  EFI_STATUS   Status;
  PCH_SPI_PPI  *Spi;
  UINTN        Control;
  UINT8        BiosControl;

  Spi    = NULL;
  Status = PeiServicesLocatePpi (&gPchSpiPpiGuid, 0, NULL, (VOID **)&Spi);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate spi flash ppi %p %r\n", Spi, Status));
    return Status;
  }

  Control     = BiosControlAddress ();
  BiosControl = (Control != 0) ? MmioRead8 (Control) : 0;
  if ((BiosControl & SPI_BIOS_WRITE_PROTECT) != 0) {
    MmioWrite8 (Control, (UINT8)(BiosControl & ~SPI_BIOS_WRITE_PROTECT));
  }

  Status = FlashCommon (Spi, Offset, Length, Data);

  if ((BiosControl & SPI_BIOS_WRITE_PROTECT) != 0) {
    MmioWrite8 (Control, BiosControl);
  }

  return Status;
}

EFI_STATUS
EFIAPI
ZubFlashWriteData (
  IN UINT32  Offset,
  IN UINT32  Length,
  IN VOID    *Data OPTIONAL
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "ZubFlashWriteData(0x%X %u)\n", Offset, Length));
  if ((Length & (ZUB_FLASH_BLOCK_SIZE - 1)) != 0) {
    DEBUG ((DEBUG_ERROR, "Data length must align with 4KB\n"));
    return EFI_INVALID_PARAMETER;
  }

  Status = FlashOperation (Offset, Length, Data);
  DEBUG ((DEBUG_INFO, "ZubFlashWriteData %u %u %r\n", Offset, Length, Status));
  return Status;
}

EFI_STATUS
EFIAPI
ZubFlashErase (
  IN UINT32  Offset,
  IN UINT32  Length
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "ZubFlashErase(0x%X %u)\n", Offset, Length));
  Status = FlashOperation (Offset, Length, NULL);
  DEBUG ((DEBUG_INFO, "ZubFlashErase %u %u %r\n", Offset, Length, Status));
  return Status;
}
