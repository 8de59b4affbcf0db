/** @file
  The red status line of a minimum boot or a diagnosis on the early console.
**/
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/EarlyVgaDisplay.h>
#include "FaultIsolate.h"

#define STATUS_FOREGROUND  0xFFFF0000u
#define STATUS_BACKGROUND  0x00000000u
#define LAYOUT_TEXT        0
#define LAYOUT_LOGO        1

VOID
FaultIsolatePeiShowString (
  VOID
  )
{
  EFI_STATUS             Status;
  EARLY_VGA_DISPLAY_PPI  *Display;
  UINT8                  Layout;
  UINT8                  Mode;
  UINTN                  Column;
  UINTN                  Row;
  CONST CHAR8            *Text;

  Layout = PcdGet8 (PcdZubEarlyVgaMode);
  DEBUG ((DEBUG_INFO, "FaultIsolatePeiShowString --- start\n"));
  Display = NULL;
  Status  = PeiServicesLocatePpi (&gEarlyVgaDisplayPpiGuid, 0, NULL, (VOID **)&Display);
  if (EFI_ERROR (Status) || Display == NULL) {
    return;
  }

  Mode = ZubDiagCmosRead (ZUB_DIAG_CMOS_MODE);
  if (Layout == LAYOUT_LOGO) {
    Row    = (UINTN)PcdGet16 (PcdZubVgaTextRow) + 2;
    Column = (Mode & ZUB_DIAG_MODE_HW_DIAG) != 0 ? 23 : 34;
  } else if (Layout == LAYOUT_TEXT) {
    Column = 1;
    Row    = 11;
  } else {
    Column = 0;
    Row    = 0;
  }

  if ((Mode & ZUB_DIAG_MODE_MINIMUM_BOOT) != 0) {
    Text = "Minimum Booting, Please Wait...";
  } else if ((Mode & ZUB_DIAG_MODE_HW_DIAG) != 0) {
    Text = ZubHWDiagGetPhase () == 4
             ? "Hardware Diagnosis and isolation booting, failed device will be isolated for boot..."
             : "Hardware Diagnosing, Please Wait Till Diagnose Finish...";
  } else {
    return;
  }

  Display->DrawString (Display, Column, Row, STATUS_FOREGROUND, STATUS_BACKGROUND, Text);
}
