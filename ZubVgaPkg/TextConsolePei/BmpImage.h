/** @file
  The fields of a BMP file that the console reads, checked against the file size the
  file declares. All fields are little-endian and read unaligned.
**/
#ifndef BMP_IMAGE_H_
#define BMP_IMAGE_H_

#include <Uefi/UefiBaseType.h>

#define BMP_HEADER_BYTES        54      // file header and BITMAPINFOHEADER
#define BMP_FILE_SIZE_OFFSET    2
#define BMP_DATA_OFFSET_OFFSET  10
#define BMP_WIDTH_OFFSET        18
#define BMP_HEIGHT_OFFSET       22
#define BMP_BITS_OFFSET         28
#define BMP_COLORS_USED_OFFSET  46
#define BMP_PALETTE_OFFSET      54
#define BMP_MAX_PALETTE         256

typedef struct {
  CONST UINT8  *File;
  UINT32       FileSize;
  UINT32       DataOffset;
  UINT32       Width;
  UINT32       Height;      // rows stored bottom-up
  UINT16       BitsPerPixel;
  UINT32       PaletteEntries;
} BMP_IMAGE;

/**
  Reads the header of Image (whose first two bytes are "BM").

  @retval EFI_SUCCESS            Bmp holds the fields.
  @retval EFI_INVALID_PARAMETER  The declared file size cannot hold the header.
  @retval EFI_UNSUPPORTED        Neither 24 nor 8 bits per pixel.
  @retval EFI_INVALID_PARAMETER  Pixel data or palette lie beyond the declared file size.
**/
EFI_STATUS
BmpReadHeader (
  IN  CONST UINT8  *Image,
  OUT BMP_IMAGE    *Bmp
  );

/** 0x00RRGGBB of the blue, green, red bytes at Offset in the file. **/
UINT32
BmpColorAt (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINTN            Offset
  );

/** 0x00RRGGBB of palette entry Index (blue, green, red, reserved in the file). **/
UINT32
BmpPaletteColor (
  IN CONST BMP_IMAGE  *Bmp,
  IN UINT8            Index
  );

#endif
