/** @file
  LogoCachePei entry: the boot configuration variable into its PCDs, and the two
  notifications (logo display on the early VGA display PPI, logo cache update on the PCH
  SPI flash PPI).
**/
#include "LogoCache.h"

#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/EarlyVgaDisplay.h>
#include <Ppi/PchSpi.h>
#include <Ppi/ReadOnlyVariable2.h>

#define LOGO_CACHE_POST_PORT  0x85
#define LOGO_CACHE_POST_CODE  0x01

CONST CHAR8  *CONST  mLogoFileNames[LOGO_SLOT_COUNT] = {
  "bios_logo_early.bmp",
  "bios_logo_post.bmp",
  "bios_logo_quiet.bmp"
};

STATIC EFI_PEI_NOTIFY_DESCRIPTOR  mLogoNotifyList[] = {
  {
    EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK,
    &gEarlyVgaDisplayPpiGuid,
    LogoDisplayNotify
  },
  {
    EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
    &gPchSpiPpiGuid,
    SpiFlashPpiNotify
  }
};

//
// Bytes 0, 1, 3 and 2 of ZubBootConfiguration become the quiet boot, hide logo, early
// VGA mode and eVORT PCDs.
//
STATIC
EFI_STATUS
PublishBootConfiguration (
  VOID
  )
{
  EFI_STATUS                       Status;
  EFI_PEI_READ_ONLY_VARIABLE2_PPI  *Variables;
  UINT8                            Config[BOOT_CONFIGURATION_SIZE];
  UINTN                            Size;

  Status = PeiServicesLocatePpi (&gEfiPeiReadOnlyVariable2PpiGuid, 0, NULL, (VOID **)&Variables);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate read only variable ppi %r\n", Status));
    return Status;
  }

  //
  // A shorter variable leaves the bytes it does not hold at 0.
  //
  ZeroMem (Config, sizeof (Config));
  Size   = sizeof (Config);
  Status = Variables->GetVariable (Variables, BOOT_CONFIGURATION_VARIABLE_NAME, &gZubBootConfigurationGuid, NULL,
                                   &Size, Config);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get zub boot config setup variable %r\n", Status));
    return Status;
  }

  PcdSet8S (PcdZubQuietBoot, Config[0]);
  PcdSet8S (PcdZubHideLogo, Config[1]);
  PcdSet8S (PcdZubEarlyVgaMode, Config[3]);
  PcdSet8S (PcdZubEvortEnable, Config[2]);
  DEBUG ((DEBUG_INFO, "Nvram quiet boot:%u  hide logo:%u  early vga mode:%u eVORT:%u\n",
          Config[0], Config[1], Config[3], Config[2]));
  return EFI_SUCCESS;
}

extern "C"
EFI_STATUS
EFIAPI
LogoCachePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "LogoCachePeiEntry ---start\n"));
  IoWrite8 (LOGO_CACHE_POST_PORT, LOGO_CACHE_POST_CODE);
  PcdSet8S (PcdZubLogoUpdate, PcdGet8 (PcdZubForceCleanLogoCache));
  PublishBootConfiguration ();

  Status = PeiServicesNotifyPpi (mLogoNotifyList);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to notify ppi %r\n", Status));
    return Status;
  }

  return EFI_SUCCESS;
}
