/** @file
  FaultIsolatePei entry: the whole per-boot flow of the diagnosis and the minimum boot.
**/
#include <Library/DebugLib.h>
#include <Library/ZubDylLib.h>
#include "FaultIsolate.h"

CONST UINT16  gZubDylAttributeWord = DYL_ATTRIBUTE_FAULT_ISOLATE;

extern "C" EFI_STATUS EFIAPI
FaultIsolatePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  DEBUG ((DEBUG_INFO, "FaultIsolatePeiEntry ---start\n"));
  ZubHwDiagDumpCMOSReg ();

  if (!ZubRasEarlyValidateHwDiagData ()) {
    DEBUG ((DEBUG_INFO, "FaultIsolatePeiEntry     skip following process\n"));
    FaultIsolatePeiShowString ();
    return EFI_SUCCESS;
  }

  ZubRasHwDiagnoseCheckHwMain ();
  ZubHwDiagDumpCMOSReg ();
  ZubRasHwDiagnoseSetMinimumBoot ();
  ZubHwDiagDumpCMOSReg ();
  FaultIsolatePeiShowString ();
  DEBUG ((DEBUG_INFO, "FaultIsolatePeiEntry ---Exit\n\n"));
  return EFI_SUCCESS;
}
