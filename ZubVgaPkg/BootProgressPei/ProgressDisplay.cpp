/** @file
  Stage progress, the progress bar, stage lines and the memory-test percentage.
  300 stage codes make 100 %; the percentage keeps growing past it, the bar stays full.
**/
#include "BootProgress.h"

#include <Library/BaseLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PrintLib.h>

#define STAGE_CODES_FOR_FULL_BAR  300
#define POST_PERCENT_PORT         0x84
#define CMOS_UPPER_INDEX          0x72
#define CMOS_UPPER_DATA           0x73
#define CMOS_BOOT_FLAGS           0x54
#define CMOS_MEMORY_INIT_DONE     BIT6
#define BAR_FILLED                0xFF3285FFu
#define BAR_EMPTY                 0xFF40516Fu

typedef struct {
  CONST CHAR8  *Label;
  CONST CHAR8  *Text;
} STAGE_ENTRY;

STATIC CONST STAGE_ENTRY  mStages[] = {
  { "[34CC6167-7AE7-403E-8AB2-23837F398A30]", "Platform Information Initializing..." },
  { "[EE685731-CFF3-4EE7-9388-7E63FC5A59B0]", "Platform Early Initializing..."        },
  { "[A8499E65-A6F6-48B0-96DB-45C266030D83]", "PCH Pre-Initializing..."               },
  { "[44640C32-33D7-4FB0-B1F9-6C7B232E994D]", "SPS Firmware Initializing..."          },
  { "[ZubOemPreProcInit]",                    "UPI Initializing..."                   },
  { "[ZubOemPreMemoryInit]",                  "Memory Initializing..."                },
  { "[1C8B7F78-1699-40E6-AF33-9B995D16B043]", "IPMI Communication Initializing..."    },
};

typedef struct {
  UINTN  FirstColumn;
  UINTN  LastColumn;     // inclusive
  UINTN  TopRow;
  UINTN  EndRow;         // exclusive
} BAR_GEOMETRY;

STATIC CONST BAR_GEOMETRY  mLogoBar = { 144, 656, 452, 462 };
STATIC CONST BAR_GEOMETRY  mTextBar = { 8,   792, 577, 587 };

STATIC
VOID
EarlyVgaDrawProgressBar (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN UINT32                 Percent
  )
{
  CONST BAR_GEOMETRY  *Bar;
  UINTN               Fill;
  UINTN               X;

  if (Layout == LAYOUT_LOGO_ONLY) {
    return;
  }

  Bar  = Layout == LAYOUT_LOGO ? &mLogoBar : &mTextBar;
  Fill = Percent == 100 ? Bar->LastColumn
                        : Bar->FirstColumn + (Bar->LastColumn - Bar->FirstColumn) * Percent / 100;
  for (X = Bar->FirstColumn; X <= Bar->LastColumn; X++) {
    Display->DrawVerticalLine (Display, X, Bar->TopRow, Bar->EndRow, X <= Fill ? BAR_FILLED : BAR_EMPTY);
  }
}

STATIC
VOID
EarlyVgaShowStage (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN CONST CHAR8            *Text
  )
{
  CHAR8   Padded[128];
  UINT16  Row;

  if (Layout == LAYOUT_LOGO) {
    AsciiSPrint (Padded, sizeof (Padded), "%-64a", Text);
    Display->DrawString (Display, 18, 27, COLOR_WHITE, COLOR_BLACK, Padded);
  } else if (Layout == LAYOUT_TEXT) {
    Row = PcdGet16 (PcdZubVgaTextRow);
    if ((Row > FIRST_STAGE_ROW) && !PcdGetBool (PcdZubVgaWarningShown)) {
      Display->DrawString (Display, 93, Row - 1U, COLOR_GREEN, COLOR_BLACK, "[Done]");
    }

    Display->DrawString (Display, 1, Row, COLOR_WHITE, COLOR_BLACK, Text);
    PcdSet16S (PcdZubVgaTextRow, (UINT16)(Row + 1));
  }

  PcdSetBoolS (PcdZubVgaWarningShown, FALSE);
}

/** Read-modify-write of the memory-initialisation bit only. **/
STATIC
VOID
SetMemoryInitFlag (
  IN BOOLEAN  Done
  )
{
  UINT8  Flags;

  IoWrite8 (CMOS_UPPER_INDEX, CMOS_BOOT_FLAGS);
  Flags = IoRead8 (CMOS_UPPER_DATA);
  Flags = Done ? (UINT8)(Flags | CMOS_MEMORY_INIT_DONE) : (UINT8)(Flags & ~CMOS_MEMORY_INIT_DONE);
  IoWrite8 (CMOS_UPPER_INDEX, CMOS_BOOT_FLAGS);
  IoWrite8 (CMOS_UPPER_DATA, Flags);
}

VOID
EarlyVgaShowProgress (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN CONST CHAR8            *Label OPTIONAL
  )
{
  UINT32  Count;
  UINT32  Percent;
  UINT32  BootOption;
  CHAR8   PercentText[16];
  UINTN   Index;

  Count = PcdGet32 (PcdZubProgressCount) + 1;
  PcdSet32S (PcdZubProgressCount, Count);
  Percent = Count * 100 / STAGE_CODES_FOR_FULL_BAR;
  IoWrite8 (POST_PERCENT_PORT, (UINT8)Percent);
  EarlyVgaDrawProgressBar (Display, Layout, Percent);

  AsciiSPrint (PercentText, sizeof (PercentText), "[%d%%]", Percent);
  if (Layout == LAYOUT_TEXT) {
    Display->DrawString (Display, 1, 9, COLOR_WHITE, COLOR_BLACK, "Progress: ");
    Display->DrawString (Display, 11, 9, COLOR_RED, COLOR_BLACK, PercentText);
  }

  if (Label == NULL) {
    return;
  }

  for (Index = 0; Index < sizeof (mStages) / sizeof (mStages[0]); Index++) {
    if (AsciiStrCmp (Label, mStages[Index].Label) == 0) {
      EarlyVgaShowStage (Display, Layout, mStages[Index].Text);
      break;
    }
  }

  //
  // The BMC's option word can hand the flag to other firmware (a non-zero top byte
  // with bit 2 set).
  //
  BootOption = PcdGet32 (PcdZubBmcBootOption);
  if (((BootOption >> 24) != 0) && ((BootOption & BIT2) != 0)) {
    return;
  }

  if (AsciiStrCmp (Label, "[ZubOemPreMemoryInit]") == 0) {
    SetMemoryInitFlag (FALSE);
  } else if (AsciiStrCmp (Label, "[ZubOemPostMemoryInit]") == 0) {
    SetMemoryInitFlag (TRUE);
  }
}

VOID
EarlyVgaShowMemTest (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout,
  IN UINT8                  Percent
  )
{
  UINT16  Row;
  UINT8   Highest;
  CHAR8   Text[10];

  if ((Layout == LAYOUT_LOGO) || (Layout == LAYOUT_LOGO_ONLY)) {
    return;
  }

  Row     = PcdGet16 (PcdZubVgaTextRow);
  Highest = PcdGet8 (PcdZubMemTestPercent);
  if (Percent >= Highest) {
    Highest = Percent;
    PcdSet8S (PcdZubMemTestPercent, Highest);
  }

  if (Highest >= 100) {
    Display->DrawString (Display, 93, Row - 1U, COLOR_GREEN, COLOR_BLACK, "[Done]");
  } else {
    AsciiSPrint (Text, sizeof (Text), "[%2d%%]", Highest);
    Display->DrawString (Display, 93, Row - 1U, COLOR_RED, COLOR_BLACK, Text);
  }
}
