/** @file
  The one display mode of the early console, 800x600 at 60 Hz with 32 bits per pixel,
  as data: the timing record, the standard VGA register values, the pixel clock and
  the DAC palette.
**/
#ifndef AST2500_MODE_H_
#define AST2500_MODE_H_

#include <Uefi/UefiBaseType.h>

#define AST_MODE_FLAG_HBORDER  0x20     // 8-pixel horizontal border
#define AST_MODE_FLAG_VBORDER  0x10     // 8-line vertical border

typedef struct {
  UINT16  HorizontalTotal;
  UINT16  HorizontalDisplay;
  UINT16  HorizontalFrontPorch;
  UINT16  HorizontalSync;
  UINT16  VerticalTotal;
  UINT16  VerticalDisplay;
  UINT16  VerticalFrontPorch;
  UINT16  VerticalSync;
  UINT8   PixelClockIndex;
  UINT8   Flags;
  UINT8   Refresh;
  UINT8   RefreshIndex;
  UINT8   ModeId;
} AST_DISPLAY_MODE;

typedef struct {
  UINT8  Numerator;       // CRC0
  UINT8  Denominator;     // CRC1
  UINT8  PostDivider;     // high nibble goes to CRBB
} AST_PIXEL_CLOCK;

typedef struct {
  UINT8  Red;
  UINT8  Green;
  UINT8  Blue;
} VGA_DAC_ENTRY;

#define AST_SEQUENCER_FIRST   0x02
#define AST_SEQUENCER_COUNT   3
#define AST_CRTC_COUNT        0x19
#define AST_ATTRIBUTE_COUNT   0x14
#define AST_GRAPHICS_COUNT    0x09
#define VGA_DAC_ENTRIES       256

#define AST_SCREEN_WIDTH      800
#define AST_SCREEN_HEIGHT     600
#define AST_BYTES_PER_PIXEL   4

extern CONST AST_DISPLAY_MODE  gAst800x600x32Mode;
extern CONST AST_PIXEL_CLOCK   gAstPixelClock[];
extern CONST UINT8             gAstSequencer[AST_SEQUENCER_COUNT];
extern CONST UINT8             gAstCrtc[AST_CRTC_COUNT];
extern CONST UINT8             gAstAttribute[AST_ATTRIBUTE_COUNT];
extern CONST UINT8             gAstGraphics[AST_GRAPHICS_COUNT];
extern CONST VGA_DAC_ENTRY     gVgaDefaultPalette[VGA_DAC_ENTRIES];

#endif
