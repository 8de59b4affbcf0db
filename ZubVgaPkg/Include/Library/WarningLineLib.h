/** @file
  Warning lines of the early console: a red "[CODE]  text" line from the warning code
  table, drawn through EARLY_VGA_DISPLAY_PPI, that moves the console's row counter.
**/
#ifndef WARNING_LINE_LIB_H_
#define WARNING_LINE_LIB_H_

#include <PiPei.h>
#include <Ppi/EarlyVgaDisplay.h>

#define WARNING_ROW_ABOVE_NEXT  0xFF    // Row argument: the row above PcdZubVgaTextRow

typedef struct {
  UINT32       Code;
  CONST CHAR8  *Text;
} WARN_CODE_ENTRY;

extern CONST WARN_CODE_ENTRY  WarnCodeTable[];
extern CONST UINTN            WarnCodeTableCount;

/** The table text of Code, or "Unknown Error Type!". **/
CONST CHAR8 *
EFIAPI
WarnCodeText (
  IN UINT32  Code
  );

/**
  Draws one warning line at Row (WARNING_ROW_ABOVE_NEXT: PcdZubVgaTextRow - 1) in the
  text layout, marks the stage line above it "[Done]" when that was not a warning line,
  then sets PcdZubVgaTextRow to Row + 1 and PcdZubVgaWarningShown to TRUE. In the logo
  layouts (1, 2) nothing is drawn or changed. Drawing results are not examined.

  @retval EFI_SUCCESS  Always.
**/
EFI_STATUS
EFIAPI
ShowWarning (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN UINT32                 Code,
  IN UINT8                  Row
  );

#endif
