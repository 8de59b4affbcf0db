/** @file
  ShowWarning: one red warning line on the text layout of the early console.
**/
#include <Library/WarningLineLib.h>

#include <Library/PcdLib.h>
#include <Library/PrintLib.h>

#define WARNING_COLOR       0xFFFF0000u
#define DONE_COLOR          0xFF00FF00u
#define BACKGROUND_COLOR    0x00000000u
#define CODE_COLUMN         1
#define TEXT_COLUMN         8
#define DONE_COLUMN         93
#define FIRST_STAGE_ROW     12      // stage lines start here; rows above are the banner

EFI_STATUS
EFIAPI
ShowWarning (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN UINT32                 Code,
  IN UINT8                  Row
  )
{
  CHAR8   CodeText[32];
  UINT16  NextRow;
  UINTN   LineRow;

  if ((Layout == 1) || (Layout == 2)) {
    return EFI_SUCCESS;
  }

  LineRow = Row;
  if (Row == WARNING_ROW_ABOVE_NEXT) {
    //
    // The row above the next free one; a counter still at 0 has no row above it,
    // so the line goes to row 0 instead of wrapping off the screen.
    //
    NextRow = PcdGet16 (PcdZubVgaTextRow);
    LineRow = NextRow > 0 ? NextRow - 1U : 0;
  }

  AsciiSPrint (CodeText, sizeof (CodeText), "[%04X]  ", Code);
  Display->DrawString (Display, CODE_COLUMN, LineRow, WARNING_COLOR, BACKGROUND_COLOR, CodeText);
  Display->DrawString (Display, TEXT_COLUMN, LineRow, WARNING_COLOR, BACKGROUND_COLOR, WarnCodeText (Code));

  if ((LineRow > FIRST_STAGE_ROW) && !PcdGetBool (PcdZubVgaWarningShown)) {
    Display->DrawString (Display, DONE_COLUMN, LineRow - 1, DONE_COLOR, BACKGROUND_COLOR, "[Done]");
  }

  PcdSet16S (PcdZubVgaTextRow, (UINT16)(LineRow + 1));
  PcdSetBoolS (PcdZubVgaWarningShown, TRUE);
  return EFI_SUCCESS;
}
