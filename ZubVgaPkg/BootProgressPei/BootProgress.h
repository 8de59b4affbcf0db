/** @file
  BootProgressPei: the boot screen of the PEI phase, in the layout PcdZubEarlyVgaMode
  names (0 text, 1 logo and banner, 2 logo only; other values get the text layout's
  bar, memory-test percentage and warnings only).
**/
#ifndef BOOT_PROGRESS_H_
#define BOOT_PROGRESS_H_

#include <PiPei.h>
#include <Ppi/EarlyVgaDisplay.h>

#define LAYOUT_TEXT        0
#define LAYOUT_LOGO        1
#define LAYOUT_LOGO_ONLY   2

#define COLOR_WHITE        0xFFFFFFFFu
#define COLOR_BLACK        0x00000000u
#define COLOR_RED          0xFFFF0000u
#define COLOR_GREEN        0xFF00FF00u
#define COLOR_CYAN         0xFF00FFFFu

#define FIRST_STAGE_ROW    12      // stage lines of the text layout start here

VOID EarlyVgaPrintBiosVersion (IN EARLY_VGA_DISPLAY_PPI *Display, IN UINT8 Layout);
VOID EarlyVgaPeiPrintBmcIpAddr (IN EARLY_VGA_DISPLAY_PPI *Display, IN UINT8 Layout);
VOID EarlyVgaShowProgress (IN EARLY_VGA_DISPLAY_PPI *Display, IN UINT8 Layout, IN CONST CHAR8 *Label OPTIONAL);
VOID EarlyVgaShowMemTest (IN EARLY_VGA_DISPLAY_PPI *Display, IN UINT8 Layout, IN UINT8 Percent);

#endif
