/** @file
  DefaultsOverridePei entry: all of the work waits for the PCH SPI flash PPI.
**/
#include <Ppi/PchSpi.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

#include "ZubSetupDefaultUpdate.h"

STATIC EFI_PEI_NOTIFY_DESCRIPTOR  mSpiFlashNotify = {
  EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gPchSpiPpiGuid,
  ZubSetupDefaultNotify
};

extern "C"
EFI_STATUS
EFIAPI
DefaultsOverridePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "DefaultsOverridePeiEntryNotify --- start\n"));
  Status = PeiServicesNotifyPpi (&mSpiFlashNotify);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to notify DefaultsOverridePeiEntry ppi %r\n", Status));
    return Status;
  }
  return EFI_SUCCESS;
}
