/** @file
  ReportPushPei's callbacks, all run from the notification list its entry registers.
**/
#ifndef REPORT_PUSH_H_
#define REPORT_PUSH_H_

#include <PiPei.h>

#define ZUB_WARNING_BMC_PARAM_FAILED  0x1003

extern EFI_GUID gZubReportPushPeiFileGuid;     // this module's file GUID, the caller of its status codes

EFI_STATUS EFIAPI PeiParamFetchNotify (IN EFI_PEI_SERVICES **PeiServices, IN EFI_PEI_NOTIFY_DESCRIPTOR *NotifyDescriptor,
                                       IN VOID *Ppi);
EFI_STATUS EFIAPI ZubCustomUploadStartBootNotify (IN EFI_PEI_SERVICES **PeiServices,
                                                  IN EFI_PEI_NOTIFY_DESCRIPTOR *NotifyDescriptor, IN VOID *Ppi);
EFI_STATUS EFIAPI ZubCustomUploadAmtResultNotify (IN EFI_PEI_SERVICES **PeiServices,
                                                  IN EFI_PEI_NOTIFY_DESCRIPTOR *NotifyDescriptor, IN VOID *Ppi);

#endif
