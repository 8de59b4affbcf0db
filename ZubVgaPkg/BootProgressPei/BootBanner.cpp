/** @file
  The firmware version banner and the BMC's network addresses.
**/
#include "BootProgress.h"

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PrintLib.h>

#define WIDEST_IPV4  "255.255.255.255"

VOID
EarlyVgaPrintBiosVersion (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout
  )
{
  CHAR8   Version[64];
  UINT16  Row;

  DEBUG ((DEBUG_INFO, "EarlyVgaPrintBiosVersion --start\n"));
  if (Layout == LAYOUT_LOGO) {
    AsciiSPrint (Version, sizeof (Version), "%a-%a", (CHAR8 *)PcdGetPtr (PcdZubBiosCode), (CHAR8 *)PcdGetPtr (PcdZubBiosExtVer));
    Row = PcdGet16 (PcdZubVgaTextRow);
    Display->DrawString (Display, 34, Row, COLOR_WHITE, COLOR_BLACK, "BIOS Version        : ");
    Display->DrawString (Display, 56, Row, COLOR_CYAN, COLOR_BLACK, Version);
    PcdSet16S (PcdZubVgaTextRow, (UINT16)(Row + 1));
    Display->DrawString (Display, 18, 27, COLOR_WHITE, COLOR_BLACK, "System Initializing...");
  } else if (Layout == LAYOUT_TEXT) {
    AsciiSPrint (
      Version, sizeof (Version), "%a-%a %a",
      (CHAR8 *)PcdGetPtr (PcdZubBiosCode), (CHAR8 *)PcdGetPtr (PcdZubBiosExtVer), (CHAR8 *)PcdGetPtr (PcdZubBiosIntVer)
      );
    Display->DrawString (Display, 1, 7, COLOR_WHITE, COLOR_BLACK, Version);
    Display->DrawString (Display, 1, 8, COLOR_WHITE, COLOR_BLACK, "Initialize System, Please Wait...");
  }

  DEBUG ((DEBUG_INFO, "PcdZubHiddenVer:%a\n", (CHAR8 *)PcdGetPtr (PcdZubHiddenVer)));
}

/** A label in white and its value in cyan; IPv4 values over a blanked widest field. **/
STATIC
VOID
DrawAddress (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINTN                  LabelColumn,
  IN UINTN                  ValueColumn,
  IN UINTN                  Row,
  IN CONST CHAR8            *Label,
  IN CONST CHAR8            *Value,
  IN BOOLEAN                BlankFirst
  )
{
  Display->DrawString (Display, LabelColumn, Row, COLOR_WHITE, COLOR_BLACK, Label);
  if (BlankFirst) {
    Display->DrawString (Display, ValueColumn, Row, COLOR_BLACK, COLOR_BLACK, WIDEST_IPV4);
  }

  Display->DrawString (Display, ValueColumn, Row, COLOR_CYAN, COLOR_BLACK, Value);
}

VOID
EarlyVgaPeiPrintBmcIpAddr (
  IN EARLY_VGA_DISPLAY_PPI  *Display,
  IN UINT8                  Layout
  )
{
  BOOLEAN  SingleAddress;
  BOOLEAN  SharedPort;
  UINT16   Row;

  SingleAddress = PcdGet8 (PcdZubBmcDedicatedOnly) != 0;
  DEBUG ((DEBUG_INFO, "EarlyVgaPeiPrintBmcIpAddr --start\n"));
  Row = PcdGet16 (PcdZubVgaTextRow);
  PcdSet16S (PcdZubVgaBmcInfoRow, Row);
  SharedPort = PcdGet8 (PcdZubCustomId) != 10;

  CONST CHAR8  *DedicatedIpv4 = (CONST CHAR8 *)PcdGetPtr (PcdZubBmcDedicatedIpv4);
  CONST CHAR8  *DedicatedIpv6 = (CONST CHAR8 *)PcdGetPtr (PcdZubBmcDedicatedIpv6);
  CONST CHAR8  *ShareIpv4     = (CONST CHAR8 *)PcdGetPtr (PcdZubBmcShareIpv4);
  CONST CHAR8  *ShareIpv6     = (CONST CHAR8 *)PcdGetPtr (PcdZubBmcShareIpv6);

  if (Layout == LAYOUT_LOGO) {
    if (SingleAddress) {
      DrawAddress (Display, 34, 56, Row + 1U, "QMB IPv4            : ", DedicatedIpv4, FALSE);
      PcdSet16S (PcdZubVgaTextRow, (UINT16)(Row + 1));
      return;
    }

    if (SharedPort) {
      DrawAddress (Display, 34, 56, Row, "QMB Shared IPv4     : ", ShareIpv4, FALSE);
      Row++;
    }

    DrawAddress (Display, 34, 56, Row, "QMB Dedicated IPv4  : ", DedicatedIpv4, FALSE);
    PcdSet16S (PcdZubVgaTextRow, (UINT16)(Row + 1));
  } else if (Layout == LAYOUT_TEXT) {
    if (SingleAddress) {
      DrawAddress (Display, 70, 80, 8, "QMB IPv4: ", DedicatedIpv4, TRUE);
      DrawAddress (Display, 1, 11, 34, "QMB IPv6: ", DedicatedIpv6, FALSE);
      return;
    }

    if (SharedPort) {
      DrawAddress (Display, 60, 80, 7, "QMB Shared IPv4:    ", ShareIpv4, TRUE);
    }

    DrawAddress (Display, 60, 80, 8, "QMB Dedicated IPv4: ", DedicatedIpv4, TRUE);
    if (SharedPort) {
      DrawAddress (Display, 1, 22, 33, "QMB Shared IPv6:     ", ShareIpv6, FALSE);
    }

    DrawAddress (Display, 1, 22, 34, "QMB Dedicated IPv6:  ", DedicatedIpv6, FALSE);
  }
}
