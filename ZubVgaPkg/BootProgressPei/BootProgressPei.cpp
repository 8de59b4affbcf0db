/** @file
  Entry of BootProgressPei and its status-code listener.

  Codes acted on: 0x03020001 (stage label), 0x00051006 (memory-test percentage) and any
  value whose upper 16 bits are all ones (a warning code; the low byte is the row, 0xFF
  the row above the next free one). A code of these values without data is ignored; a
  stage label not terminated inside its data still advances the bar but names no stage.
**/
#include "BootProgress.h"

#include <Library/BaseLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/WarningLineLib.h>
#include <Ppi/ReportStatusCodeHandler.h>

#define STATUS_STAGE_PROGRESS    0x03020001u   // EFI_SOFTWARE_PEI_CORE | EFI_SW_PC_LOAD
#define STATUS_MEMORY_TEST       0x00051006u   // EFI_COMPUTING_UNIT_MEMORY | EFI_CU_MEMORY_PC_TEST
#define STATUS_WARNING_MASK      0xFFFF0000u

STATIC
EFI_STATUS
EFIAPI
EarlyVgaStatusCodeListener (
  IN CONST EFI_PEI_SERVICES      **PeiServices,
  IN EFI_STATUS_CODE_TYPE        Type,
  IN EFI_STATUS_CODE_VALUE       Value,
  IN UINT32                      Instance,
  IN CONST EFI_GUID              *CallerId,
  IN CONST EFI_STATUS_CODE_DATA  *Data
  )
{
  EFI_STATUS             Status;
  EARLY_VGA_DISPLAY_PPI  *Display;
  UINT8                  Layout;
  CONST UINT8            *Payload;
  UINTN                  Size;
  CONST CHAR8            *Label;

  Layout = PcdGet8 (PcdZubEarlyVgaMode);
  Status = PeiServicesLocatePpi (&gEarlyVgaDisplayPpiGuid, 0, NULL, (VOID **)&Display);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  if ((Data == NULL) || (Data->Size == 0)) {
    return EFI_SUCCESS;
  }

  Payload = (CONST UINT8 *)(Data + 1);
  Size    = Data->Size;
  if (Value == STATUS_STAGE_PROGRESS) {
    Label = (CONST CHAR8 *)Payload;
    EarlyVgaShowProgress (Display, Layout, AsciiStrnLenS (Label, Size) < Size ? Label : NULL);
  } else if (Value == STATUS_MEMORY_TEST) {
    EarlyVgaShowMemTest (Display, Layout, Payload[0]);
  } else if (((Value & STATUS_WARNING_MASK) == STATUS_WARNING_MASK) && (Size >= sizeof (UINT32))) {
    ShowWarning (Display, Layout, ReadUnaligned32 (Payload), (UINT8)Value);
  }

  return EFI_SUCCESS;
}

extern "C" EFI_STATUS EFIAPI
BootProgressPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS               Status;
  UINT8                    Layout;
  EARLY_VGA_DISPLAY_PPI    *Display;
  EFI_PEI_RSC_HANDLER_PPI  *RscHandler;

  Layout = PcdGet8 (PcdZubEarlyVgaMode);
  DEBUG ((DEBUG_INFO, "BootProgressPeiEntry --- start\n"));

  Status = PeiServicesLocatePpi (&gEarlyVgaDisplayPpiGuid, 0, NULL, (VOID **)&Display);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  if (Layout == LAYOUT_LOGO) {
    PcdSet16S (PcdZubVgaTextRow, 18);
  }

  EarlyVgaPrintBiosVersion (Display, Layout);
  EarlyVgaPeiPrintBmcIpAddr (Display, Layout);

  Status = PeiServicesLocatePpi (&gEfiPeiRscHandlerPpiGuid, 0, NULL, (VOID **)&RscHandler);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate Rsc Handle Ppi %r\n", Status));
    return Status;
  }

  Status = RscHandler->Register (EarlyVgaStatusCodeListener);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to register Rsc handle call back %r\n", Status));
    return Status;
  }

  DEBUG ((DEBUG_INFO, "BootProgressPeiEntry --- finished\n"));
  return EFI_SUCCESS;
}
