/** @file
  WarnLogCheckPei entry and its status-code listener: every check point announced with
  status code 0x03020008 runs one pass over the whole warning log for its category.
**/
#include <Guid/ZubLogWindow.h>
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/ReadOnlyVariable2.h>
#include <Ppi/ReportStatusCodeHandler.h>
#include <RefCode/RcSysHost.h>
#include "WarnLogCheck.h"

#define ZUB_MISC_CFG_EWL_CODE30   3
#define ZUB_DIAG_MODE_SKIP_EWL    (BIT0 | BIT1)     // minimum boot, hardware diagnosis

/**
  One pass over the whole log for Category. Entries of the category's types are
  classified; every entry, of any type, is looked at for a boot-stopping code, so that a
  pass of any check point stops the boot after its warnings are on the screen.
**/
VOID
EwlCheckCategory (
  IN UINT8  Category
  )
{
  EWL_LOG                  Log;
  CONST EWL_CATEGORY_INFO  *Info;
  CONST UINT8              *Entry;
  UINT32                   Offset;
  UINT8                    IncludeCode30;
  UINT8                    PassCodeCount;
  BOOLEAN                  Stop;
  UINT16                   Code;

  if (!EwlGetLog (&Log)) {
    return;
  }

  if ((ZubHWDiagGetMode () & ZUB_DIAG_MODE_SKIP_EWL) != 0) {
    return;
  }

  Info          = EwlFindCategory (Category);
  IncludeCode30 = PcdGet8 (PcdZubEwlIncludeCode30);
  PassCodeCount = 0;
  Stop          = FALSE;

  for (Offset = 0; (Entry = EwlEntryAt (&Log, Offset)) != NULL; Offset += EwlEntrySize (Entry)) {
    if ((IncludeCode30 == 0) && (Entry[EWL_ENTRY_MAJOR_OFFSET] == EWL_MAJOR_CODE_30)) {
      continue;
    }

    Code = 0;
    if ((Info != NULL) && (Info->Check != NULL) && EwlTypeInCategory (EwlEntryType (Entry), Info)) {
      Info->Check (&Log, Entry, &Code);
    }

    if (Code != 0) {
      EwlShowCode (Code, &PassCodeCount);
      if (Category == EWL_CATEGORY_MEMORY) {
        Log.SysHost[RC_SYSHOST_MEM_WARNING_OFFSET] = 0;
      }
    }

    if (EwlIsBootStopping (Entry)) {
      Stop = TRUE;
    }
  }

  if (Stop) {
    ZubSendSysFirmwareHangeDyl ();
    CpuDeadLoop ();
  }
}

/**
  Dispatches a check point. A name must end inside the status-code data; a check point
  without data, or with an unknown name, is ignored.
**/
STATIC
EFI_STATUS
EFIAPI
RasEwlLogReportWorker (
  IN CONST EFI_PEI_SERVICES      **PeiServices,
  IN EFI_STATUS_CODE_TYPE        Type,
  IN EFI_STATUS_CODE_VALUE       Value,
  IN UINT32                      Instance,
  IN CONST EFI_GUID              *CallerId,
  IN CONST EFI_STATUS_CODE_DATA  *Data
  )
{
  CONST CHAR8  *Name;
  UINTN        Index;

  if (Value != EWL_CHECK_POINT_STATUS) {
    return EFI_SUCCESS;
  }

  if ((Data == NULL) || (Data->Size == 0)) {
    return EFI_SUCCESS;
  }

  Name = (CONST CHAR8 *)Data + sizeof (EFI_STATUS_CODE_DATA);
  if (AsciiStrnLenS (Name, Data->Size) >= Data->Size) {
    return EFI_SUCCESS;
  }

  for (Index = 0; Index < mEwlCheckPointCount; Index++) {
    if (AsciiStrCmp (Name, mEwlCheckPoints[Index].Name) == 0) {
      EwlCheckCategory (mEwlCheckPoints[Index].Category);
      break;
    }
  }

  return EFI_SUCCESS;
}

extern "C" EFI_STATUS EFIAPI
WarnLogCheckPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS                       Status;
  EFI_PEI_RSC_HANDLER_PPI          *RscHandler;
  EFI_PEI_READ_ONLY_VARIABLE2_PPI  *Variables;
  UINT8                            Config[ZUB_MISC_CFG_SIZE];
  UINTN                            Size;

  ZeroMem (Config, sizeof (Config));
  DEBUG ((DEBUG_INFO, "WarnLogCheckPeiEntry ---start\n"));

  Status = PeiServicesLocatePpi (&gEfiPeiRscHandlerPpiGuid, 0, NULL, (VOID **)&RscHandler);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "LocatePpi gEfiPeiRscHandlerPpiGuid failured! %r\n", Status));
    return Status;
  }

  Status = RscHandler->Register (RasEwlLogReportWorker);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Register RasEwlLogReportWorker failured! %r\n", Status));
  }

  Status = PeiServicesLocatePpi (&gEfiPeiReadOnlyVariable2PpiGuid, 0, NULL, (VOID **)&Variables);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate read only variable ppi %r\n", Status));
    return Status;
  }

  Size   = sizeof (Config);
  Status = Variables->GetVariable (Variables, ZUB_MISC_CFG_VARIABLE_NAME, &gZubMiscCfgVariableGuid, NULL, &Size,
                                   Config);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get ZubMiscCfg variable %r\n", Status));
    return Status;
  }

  PcdSet8S (PcdZubEwlIncludeCode30, Config[ZUB_MISC_CFG_EWL_CODE30]);
  return EFI_SUCCESS;
}
