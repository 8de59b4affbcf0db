/** @file
  EARLY_VGA_DISPLAY_PPI: drawing into the 800x600x32 linear frame buffer of the early
  console. Text is drawn in opaque 8x16 cells (100 columns, 37 full rows); colours are
  0x00RRGGBB values written unchanged. Callers locate the PPI at each use.
**/
#ifndef EARLY_VGA_DISPLAY_H_
#define EARLY_VGA_DISPLAY_H_

#include <PiPei.h>

#define EARLY_VGA_SCREEN_WIDTH   800
#define EARLY_VGA_SCREEN_HEIGHT  600
#define EARLY_VGA_BYTES_PER_PIXEL  4
#define EARLY_VGA_CELL_WIDTH     8
#define EARLY_VGA_CELL_HEIGHT    16
#define EARLY_VGA_COLUMNS        100
#define EARLY_VGA_ROWS           37

typedef struct _EARLY_VGA_DISPLAY_PPI EARLY_VGA_DISPLAY_PPI;

typedef EFI_STATUS (EFIAPI *EARLY_VGA_DRAW_STRING)(
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  Column,
  IN UINTN                  Row,
  IN UINT32                 Foreground,
  IN UINT32                 Background,
  IN CONST CHAR8            *String
  );

typedef EFI_STATUS (EFIAPI *EARLY_VGA_DRAW_BMP)(
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  X,
  IN UINTN                  Y,
  IN BOOLEAN                Centered,
  IN CONST VOID             *Image
  );

typedef EFI_STATUS (EFIAPI *EARLY_VGA_DRAW_VERTICAL_LINE)(
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  X,
  IN UINTN                  StartY,
  IN UINTN                  EndY,
  IN UINT32                 Color
  );

typedef EFI_STATUS (EFIAPI *EARLY_VGA_DRAW_HORIZONTAL_LINE)(
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  StartX,
  IN UINTN                  EndX,
  IN UINTN                  Y,
  IN UINT32                 Color
  );

struct _EARLY_VGA_DISPLAY_PPI {
  EARLY_VGA_DRAW_STRING           DrawString;
  EARLY_VGA_DRAW_BMP              DrawBmp;
  EARLY_VGA_DRAW_VERTICAL_LINE    DrawVerticalLine;
  EARLY_VGA_DRAW_HORIZONTAL_LINE  DrawHorizontalLine;
};

extern EFI_GUID gEarlyVgaDisplayPpiGuid;

#endif
