/** @file
  BMP header reading and bounds.
**/
#include "BmpImage.h"

#include <Library/BaseLib.h>

UINT32
BmpColorAt (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINTN            Offset
  )
{
  CONST UINT8  *BlueGreenRed;

  BlueGreenRed = Bmp->File + Offset;
  return ((UINT32)BlueGreenRed[2] << 16) | ((UINT32)BlueGreenRed[1] << 8) | BlueGreenRed[0];
}

EFI_STATUS
BmpReadHeader (
  IN  CONST UINT8  *Image,
  OUT BMP_IMAGE    *Bmp
  )
{
  UINT64  Stride;
  UINT64  DataEnd;

  Bmp->File     = Image;
  Bmp->FileSize = ReadUnaligned32 (Image + BMP_FILE_SIZE_OFFSET);
  if (Bmp->FileSize < BMP_HEADER_BYTES) {
    return EFI_INVALID_PARAMETER;
  }

  Bmp->DataOffset   = ReadUnaligned32 (Image + BMP_DATA_OFFSET_OFFSET);
  Bmp->Width        = ReadUnaligned32 (Image + BMP_WIDTH_OFFSET);
  Bmp->Height       = ReadUnaligned32 (Image + BMP_HEIGHT_OFFSET);
  Bmp->BitsPerPixel = ReadUnaligned16 (Image + BMP_BITS_OFFSET);
  if ((Bmp->BitsPerPixel != 24) && (Bmp->BitsPerPixel != 8)) {
    return EFI_UNSUPPORTED;
  }

  if (Bmp->DataOffset > Bmp->FileSize) {
    return EFI_INVALID_PARAMETER;
  }

  if (Bmp->BitsPerPixel == 24) {
    Bmp->PaletteEntries = 0;
    Stride  = ((UINT64)Bmp->Width * 3 + 3) & ~(UINT64)3;
    DataEnd = (UINT64)Bmp->DataOffset + Stride * Bmp->Height;
    return DataEnd <= Bmp->FileSize ? EFI_SUCCESS : EFI_INVALID_PARAMETER;
  }

  //
  // 8 bits: the palette holds biClrUsed entries (0 meaning all 256). The length of the
  // run-length stream is known only by decoding it, which the caller does.
  //
  Bmp->PaletteEntries = ReadUnaligned32 (Image + BMP_COLORS_USED_OFFSET);
  if (Bmp->PaletteEntries == 0) {
    Bmp->PaletteEntries = BMP_MAX_PALETTE;
  }

  if ((Bmp->PaletteEntries > BMP_MAX_PALETTE) ||
      (BMP_PALETTE_OFFSET + 4 * Bmp->PaletteEntries > Bmp->FileSize))
  {
    return EFI_INVALID_PARAMETER;
  }

  return EFI_SUCCESS;
}

UINT32
BmpPaletteColor (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINT8            Index
  )
{
  return BmpColorAt (Bmp, BMP_PALETTE_OFFSET + 4 * (UINTN)Index);
}
