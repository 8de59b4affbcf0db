/** @file
  The logo display, on the installation of EARLY_VGA_DISPLAY_PPI: a built-in logo for
  OEM selectors 0-2, the customer logo from the flash cache or from the BMC for 3 and
  above. Raises PcdZubLogoUpdate when the cache must be rewritten or invalidated.
**/
#include "LogoCache.h"

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/EarlyVgaDisplay.h>
#include <Ppi/QuickTrans.h>

#define LOGO_FULL_SCREEN_X  0
#define LOGO_FULL_SCREEN_Y  16
#define LOGO_LAYOUT_X       320
#define LOGO_LAYOUT_Y       200

//
// The customer's early logo: from the flash cache when it is valid and this OEM's,
// otherwise downloaded from the BMC (the image then lives in the answer area).
//
STATIC
EFI_STATUS
GetCustomerLogo (
  IN  UINT32                   Oem,
  IN  BOOLEAN                  AreaValid,
  IN  CONST UINT8              *Area,
  OUT CONST VOID               **Image,
  OUT UINTN                    *Size
  )
{
  EFI_STATUS               Status;
  CONST LOGO_FLASH_HEADER  *Header;
  QUICK_TRANS_PPI          *QuickTrans;
  UINT32                   FileSize;
  VOID                     *FileData;

  Header = (CONST LOGO_FLASH_HEADER *)Area;
  if (AreaValid && (Header->OemId == Oem)) {
    DEBUG ((DEBUG_INFO, "Use valid logo from flash, %u\n", Oem));
    *Image = Area + Header->Logo[0].Offset;
    *Size  = Header->Logo[0].Size;
    return EFI_SUCCESS;
  }

  DEBUG ((DEBUG_INFO, "Logo flash invalid or oem changed %u %u\n", (Area != NULL) ? Header->OemId : 0xFFFFFFFF, Oem));
  PcdSet8S (PcdZubLogoUpdate, 1);
  Status = PeiServicesLocatePpi (&gQuickTransPpiGuid, 0, NULL, (VOID **)&QuickTrans);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate quick trans ppi %r\n", Status));
    return Status;
  }

  FileSize = 0;
  FileData = NULL;
  Status   = QuickTrans->GetFile (mLogoFileNames[0], &FileSize, &FileData);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to download early logo file %r\n", Status));
    return Status;
  }

  *Image = FileData;
  *Size  = FileSize;
  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
LogoDisplayNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  EFI_STATUS               Status;
  UINT32                   Oem;
  CONST UINT8              *Area;
  BOOLEAN                  AreaValid;
  CONST LOGO_FLASH_HEADER  *Header;
  CONST VOID               *Image;
  UINTN                    Size;
  EARLY_VGA_DISPLAY_PPI    *Display;
  UINT8                    Mode;

  if (PcdGet8 (PcdZubHideLogo) != 0) {
    DEBUG ((DEBUG_INFO, "Skip to show logo depend on nvram variable config\n"));
    return EFI_SUCCESS;
  }

  Oem       = PcdGet8 (PcdZubOemFlag);
  Area      = LogoAreaMapping ();
  AreaValid = LogoAreaIsValid (Area);
  Header    = (CONST LOGO_FLASH_HEADER *)Area;
  Image     = NULL;
  Size      = 0;

  if (Oem < LOGO_CUSTOMER_OEM_FIRST) {
    if (AreaValid && (Header->OemId != Oem)) {
      PcdSet8S (PcdZubLogoUpdate, 1);
      DEBUG ((DEBUG_INFO, "Logo oem changed from %u to %u\n", Header->OemId, Oem));
    }

    DEBUG ((DEBUG_INFO, "Use normal logo from FVM, %u\n", Oem));
    Status = FindBuiltInLogo (Oem, &Image, &Size);
    if (EFI_ERROR (Status)) {
      DEBUG ((DEBUG_ERROR, "Failed to find logo %u %r\n", Oem, Status));
      return EFI_SUCCESS;
    }
  } else {
    Status = GetCustomerLogo (Oem, AreaValid, Area, &Image, &Size);
    if (EFI_ERROR (Status)) {
      return EFI_SUCCESS;
    }
  }

  Status = PeiServicesLocatePpi (&gEarlyVgaDisplayPpiGuid, 0, NULL, (VOID **)&Display);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate vga display ppi %r\n", Status));
    return EFI_SUCCESS;
  }

  //
  // Draw only what lies inside what was found: the section, the download or the cached
  // logo, whatever the BMP header claims.
  //
  if (!LogoImageFits (Image, Size)) {
    return EFI_SUCCESS;
  }

  Mode = PcdGet8 (PcdZubEarlyVgaMode);
  if (Mode == 0) {
    Display->DrawBmp (Display, LOGO_FULL_SCREEN_X, LOGO_FULL_SCREEN_Y, FALSE, Image);
  } else if ((Mode == 1) || (Mode == 2)) {
    Display->DrawBmp (Display, LOGO_LAYOUT_X, LOGO_LAYOUT_Y, FALSE, Image);
  }

  return EFI_SUCCESS;
}
