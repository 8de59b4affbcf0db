/** @file
  DrawString: opaque 8x16 character cells from the code page 437 font.
**/
#include "TextConsole.h"

#include "Cp437Font.h"
#include "FrameBuffer.h"

EFI_STATUS
EFIAPI
DrawString (
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  Column,
  IN UINTN                  Row,
  IN UINT32                 Foreground,
  IN UINT32                 Background,
  IN CONST CHAR8            *String
  )
{
  EFI_STATUS   Status;
  UINT32       *Frame;
  CONST UINT8  *Glyph;
  UINTN        Index;
  UINTN        GlyphRow;
  UINTN        Pixel;
  INT64        CellX;
  INT64        CellY;

  if ((This == NULL) || (String == NULL)) {
    return EFI_INVALID_PARAMETER;
  }

  Status = GetFrameBuffer (&Frame);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  //
  // Cells are clipped to the screen: a cell that starts right of or below it shows
  // nothing, and row 37 shows only its top 8 pixel rows.
  //
  if ((Column >= EARLY_VGA_COLUMNS) || (Row > EARLY_VGA_ROWS)) {
    return EFI_SUCCESS;
  }

  CellY = (INT64)(Row * EARLY_VGA_CELL_HEIGHT);
  for (Index = 0; String[Index] != '\0' && Column + Index < EARLY_VGA_COLUMNS; Index++) {
    Glyph = &gCp437Font8x16[(UINT8)String[Index] * CP437_GLYPH_BYTES];
    CellX = (INT64)((Column + Index) * EARLY_VGA_CELL_WIDTH);
    for (GlyphRow = 0; GlyphRow < EARLY_VGA_CELL_HEIGHT; GlyphRow++) {
      for (Pixel = 0; Pixel < EARLY_VGA_CELL_WIDTH; Pixel++) {
        PutPixel (
          Frame,
          CellX + (INT64)Pixel,
          CellY + (INT64)GlyphRow,
          ((Glyph[GlyphRow] >> (7 - Pixel)) & 1) != 0 ? Foreground : Background
          );
      }
    }
  }

  return EFI_SUCCESS;
}
