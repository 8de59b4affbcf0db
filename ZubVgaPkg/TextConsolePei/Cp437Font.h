/** @file
  The console font: 256 glyphs of 8x16 pixels in code page 437 order.
**/
#ifndef CP437_FONT_H_
#define CP437_FONT_H_

#include <Uefi/UefiBaseType.h>

#define CP437_GLYPH_BYTES  16
#define CP437_FONT_SIZE    (256 * CP437_GLYPH_BYTES)

extern CONST UINT8  gCp437Font8x16[CP437_FONT_SIZE];

#endif
