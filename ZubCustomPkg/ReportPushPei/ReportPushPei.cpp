/** @file
  ReportPushPei entry: registers the notification list; all work runs in the callbacks.
  The parameter fetch is listed before the start-of-boot report on the same PPI.
**/
#include "ReportPush.h"

#include <Ppi/MemoryDiscovered.h>
#include <Ppi/QuickTrans.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

STATIC EFI_PEI_NOTIFY_DESCRIPTOR  mReportNotifyList[] = {
  { EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK, &gQuickTransPpiGuid, PeiParamFetchNotify },
  { EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK, &gQuickTransPpiGuid, ZubCustomUploadStartBootNotify },
  { EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gEfiPeiMemoryDiscoveredPpiGuid,
    ZubCustomUploadAmtResultNotify }
};

extern "C"
EFI_STATUS
EFIAPI
ReportPushPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "ReportPushPeiEntry  --- start\n"));
  Status = PeiServicesNotifyPpi (mReportNotifyList);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to register ppi notify %r \n", Status));
    return Status;
  }
  DEBUG ((DEBUG_INFO, "ReportPushPeiEntry  --- finish\n"));
  return EFI_SUCCESS;
}
