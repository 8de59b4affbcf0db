/** @file
  Test module: links ZubDylLib and publishes its routines as a PPI.
**/
#include <Library/PeiServicesLib.h>
#include "DylProbe.h"

CONST UINT16  gZubDylAttributeWord = DYL_ATTRIBUTE_WARN_LOG;

STATIC ZUB_DYL_PROBE_PPI  mProbe = { DylReport, SendDylMsgWorker, DylGetTimeStamp, RtcReadTime };

STATIC EFI_PEI_PPI_DESCRIPTOR  mProbeDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubDylProbePpiGuid,
  &mProbe
};

extern "C" EFI_STATUS EFIAPI
DylProbePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  return PeiServicesInstallPpi (&mProbeDescriptor);
}
