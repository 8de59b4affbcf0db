/** @file
  DrawBmp: 24-bit BMP images and 8-bit images in BMP run-length form.

  The 8-bit form is read as a stream of (count, palette index) pairs painted bottom-up.
  Every row starts with an empty run; a pair with count 0 (the end-of-line marker) is
  skipped once; a run longer than the rest of its row is cut at the row end. Absolute
  and delta sequences are not accepted.
**/
#include "TextConsole.h"

#include "BmpImage.h"
#include "FrameBuffer.h"

/**
  Walks the run-length stream of Bmp; paints through Frame when it is not NULL.
  Called once without a frame to check the whole stream, then once to paint.
**/
STATIC
EFI_STATUS
WalkRunLengthImage (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINT32           *Frame     OPTIONAL,
  IN INT64            OriginX,
  IN INT64            OriginY
  )
{
  UINT64  Position;
  UINT64  Row;
  UINT64  Column;
  UINT64  Run;
  UINT8   Count;
  UINT8   Index;
  UINT32  Color;
  INT64   ScreenY;

  //
  // Rows without columns hold no runs: nothing to read or paint, however many rows the
  // header claims (walking them would spin for up to 2^32 rows).
  //
  if (Bmp->Width == 0) {
    return EFI_SUCCESS;
  }

  Position = Bmp->DataOffset;
  Color    = 0;
  for (Row = 0; Row < Bmp->Height; Row++) {
    ScreenY = OriginY + (INT64)(Bmp->Height - 1 - Row);
    Run     = 0;
    for (Column = 0; Column < Bmp->Width; Column++) {
      if (Run == 0) {
        if (Position + 2 > Bmp->FileSize) {
          return EFI_INVALID_PARAMETER;
        }

        Count = Bmp->File[Position];
        Index = Bmp->File[Position + 1];
        Position += 2;
        if (Count == 0) {
          if (Position + 2 > Bmp->FileSize) {
            return EFI_INVALID_PARAMETER;
          }

          Count = Bmp->File[Position];
          Index = Bmp->File[Position + 1];
          Position += 2;
          if (Count == 0) {
            return EFI_INVALID_PARAMETER;
          }
        }

        if (Index >= Bmp->PaletteEntries) {
          return EFI_INVALID_PARAMETER;
        }

        Run   = Count;
        Color = BmpPaletteColor (Bmp, Index);
      }

      if (Frame != NULL) {
        PutPixel (Frame, OriginX + (INT64)Column, ScreenY, Color);
      }

      Run--;
    }
  }

  return EFI_SUCCESS;
}

STATIC
VOID
PaintTrueColorImage (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINT32           *Frame,
  IN INT64            OriginX,
  IN INT64            OriginY
  )
{
  UINT64  Stride;
  UINT64  Row;
  UINT64  Column;
  UINT64  Source;
  INT64   ScreenX;
  INT64   ScreenY;

  Stride = ((UINT64)Bmp->Width * 3 + 3) & ~(UINT64)3;
  //
  // Rows above the screen are skipped at once: a centred image of a huge declared height
  // (zero-width rows fit any file) would otherwise be walked row by row.
  //
  for (Row = (OriginY < 0) ? (UINT64)(-OriginY) : 0; Row < Bmp->Height; Row++) {
    ScreenY = OriginY + (INT64)Row;

    if (ScreenY >= EARLY_VGA_SCREEN_HEIGHT) {
      break;
    }

    Source = Bmp->DataOffset + (Bmp->Height - 1 - Row) * Stride;
    for (Column = 0; Column < Bmp->Width; Column++) {
      ScreenX = OriginX + (INT64)Column;
      if (ScreenX >= EARLY_VGA_SCREEN_WIDTH) {
        break;
      }

      PutPixel (Frame, ScreenX, ScreenY, BmpColorAt (Bmp, (UINTN)(Source + 3 * Column)));
    }
  }
}

EFI_STATUS
EFIAPI
DrawBmp (
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  X,
  IN UINTN                  Y,
  IN BOOLEAN                Centered,
  IN CONST VOID             *Image
  )
{
  EFI_STATUS   Status;
  CONST UINT8  *File;
  BMP_IMAGE    Bmp;
  UINT32       *Frame;
  INT64        OriginX;
  INT64        OriginY;

  if ((This == NULL) || (Image == NULL)) {
    return EFI_INVALID_PARAMETER;
  }

  if ((X >= EARLY_VGA_SCREEN_WIDTH) || (Y >= EARLY_VGA_SCREEN_HEIGHT)) {
    return EFI_OUT_OF_RESOURCES;
  }

  File = (CONST UINT8 *)Image;
  if ((File[0] != 'B') || (File[1] != 'M')) {
    return EFI_INVALID_PARAMETER;
  }

  Status = BmpReadHeader (File, &Bmp);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  if (Centered) {
    OriginX = ((INT64)EARLY_VGA_SCREEN_WIDTH - (INT64)Bmp.Width) / 2;
    OriginY = ((INT64)EARLY_VGA_SCREEN_HEIGHT - (INT64)Bmp.Height) / 2;
  } else {
    OriginX = (INT64)X;
    OriginY = (INT64)Y;
  }

  if (Bmp.BitsPerPixel == 8) {
    Status = WalkRunLengthImage (&Bmp, NULL, OriginX, OriginY);
    if (EFI_ERROR (Status)) {
      return Status;
    }
  }

  Status = GetFrameBuffer (&Frame);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  if (Bmp.BitsPerPixel == 8) {
    return WalkRunLengthImage (&Bmp, Frame, OriginX, OriginY);
  }

  PaintTrueColorImage (&Bmp, Frame, OriginX, OriginY);
  return EFI_SUCCESS;
}
