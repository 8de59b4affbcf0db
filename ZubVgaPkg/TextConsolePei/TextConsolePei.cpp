/** @file
  Entry of TextConsolePei: installs the display PPI and clears the console's
  warning-line flag for this boot. No state is kept; what is drawn lives in the frame
  buffer.
**/
#include "TextConsole.h"

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>

STATIC EARLY_VGA_DISPLAY_PPI  mEarlyVgaDisplay = {
  DrawString,
  DrawBmp,
  DrawVerticalLine,
  DrawHorizontalLine
};

STATIC EFI_PEI_PPI_DESCRIPTOR  mEarlyVgaDisplayDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gEarlyVgaDisplayPpiGuid,
  &mEarlyVgaDisplay
};

extern "C" EFI_STATUS EFIAPI
TextConsolePeiEntryPoint (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "TextConsolePeiEntryPoint ---start\n"));

  Status = PeiServicesInstallPpi (&mEarlyVgaDisplayDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install early vga display ppi %r\n", Status));
    return Status;
  }

  PcdSetBoolS (PcdZubVgaWarningShown, FALSE);
  return EFI_SUCCESS;
}
