/** @file
  What the checks produce: warning lines on the early console under the two-per-pass
  policy, log entries forwarded to the BMC, and the firmware-hang report.
**/
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/WarningLineLib.h>
#include <Library/ZubDylLib.h>
#include <Ppi/EarlyVgaDisplay.h>
#include "WarnLogCheck.h"

#define EWL_CODES_SHOWN_PER_PASS  2

CONST UINT16  gZubDylAttributeWord = DYL_ATTRIBUTE_WARN_LOG;

EFI_STATUS
EwlDrawWarning (
  IN UINT32  Code
  )
{
  EFI_STATUS             Status;
  EARLY_VGA_DISPLAY_PPI  *Display;

  Status = PeiServicesLocatePpi (&gEarlyVgaDisplayPpiGuid, 0, NULL, (VOID **)&Display);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate vga display ppi: %r\n", Status));
    return Status;
  }

  return ShowWarning (Display, PcdGet8 (PcdZubEarlyVgaMode), Code, WARNING_ROW_ABOVE_NEXT);
}

/**
  Draws the first two codes of a pass, skipping a code equal to the last one drawn; the
  row counter moves for each code drawn, whether or not the layout shows it.
**/
VOID
EwlShowCode (
  IN UINT32     Code,
  IN OUT UINT8  *PassCodeCount
  )
{
  if ((*PassCodeCount < EWL_CODES_SHOWN_PER_PASS) && (Code != PcdGet32 (PcdZubLastWarningCode))) {
    PcdSet32S (PcdZubLastWarningCode, Code);
    PcdSet16S (PcdZubVgaTextRow, (UINT16)(PcdGet16 (PcdZubVgaTextRow) + 1));
    EwlDrawWarning (Code);
  }

  if (*PassCodeCount < MAX_UINT8) {
    (*PassCodeCount)++;
  }
}

VOID
EwlForwardEntry (
  IN CONST UINT8  *Entry
  )
{
  UINT8   Payload[EWL_FORWARD_PAYLOAD_SIZE];
  UINT16  Size;

  ZeroMem (Payload, sizeof (Payload));
  Size = EwlEntrySize (Entry);
  CopyMem (Payload, Entry, (Size < sizeof (Payload)) ? Size : sizeof (Payload));
  DylReport (EWL_DYL_CLASS_ENTRY, 0, 0, Payload, sizeof (Payload));
}

EFI_STATUS
ZubSendSysFirmwareHangeDyl (
  VOID
  )
{
  STATIC CONST CHAR8  HangText[] = "System Firmware hang!";
  UINT8               Buffer[sizeof (HangText)];
  EFI_STATUS          Status;

  CopyMem (Buffer, HangText, sizeof (HangText));
  Status = DylReport (EWL_DYL_CLASS_HANG, 1, 1, Buffer, (UINT8)(sizeof (HangText) - 1));
  DEBUG ((DEBUG_INFO, "ZubSendSysFirmwareHangeDyl    status: %r\n", Status));
  return Status;
}
