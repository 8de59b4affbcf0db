/** @file
  VramLinkPei: installs QUICK_TRANS_PPI and nothing else.
**/
#include "VramLink.h"

#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

STATIC QUICK_TRANS_PPI  mQuickTrans = {
  QuickTransSendCommand,
  QuickTransPushFile,
  QuickTransGetFile
};

STATIC EFI_PEI_PPI_DESCRIPTOR  mQuickTransDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gQuickTransPpiGuid,
  &mQuickTrans
};

extern "C"
EFI_STATUS
EFIAPI
VramLinkPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "VramLinkPeiEntry  --- start\n"));
  Status = PeiServicesInstallPpi (&mQuickTransDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install quick trans ppi %r\n", Status));
    return Status;
  }
  DEBUG ((DEBUG_INFO, "VramLinkPeiEntry  --- finish\n"));
  return EFI_SUCCESS;
}
