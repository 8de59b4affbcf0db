/** @file
  The AST2500's early console mode: extended-register defaults, then 800x600 at 60 Hz
  with 32 bits per pixel, screen cleared to black and switched on.
**/
#include "VgaDecode.h"

#include "Ast2500Mode.h"
#include "VgaRegisters.h"

#include <Library/BaseMemoryLib.h>
#include <Library/IoLib.h>

#define SR01_SCREEN_OFF       0x20
#define CR11_PROTECT_CR00_07  0x80
#define AR_PALETTE_ENABLE     0x20
#define MISC_OUTPUT_MODE      0x2F
#define MISC_OUTPUT_DEFAULT   0xE3
#define CRAE_OVERFLOW_VALID   0x80

//
// Bit Source of Value, moved to bit Target.
//
#define OVERFLOW_BIT(Value, Source, Target)  ((UINT8)((((Value) >> (Source)) & 1U) << (Target)))

VOID
Ast2500ExtendedDefaults (
  VOID
  )
{
  UINT8  OldUnlock;
  UINT8  Index;

  OldUnlock = Ast2500UnlockExtended ();

  IoWrite8 (VGA_ENABLE_PORT, 0x01);
  IoWrite8 (VGA_MISC_OUTPUT_WRITE, MISC_OUTPUT_DEFAULT);
  for (Index = 0x81; Index <= 0x9F; Index++) {
    CrtcWrite (Index, 0x00);
  }

  CrtcWrite (0x8C, 0x01);
  CrtcModify (0xB7, 0xF0, 0x00);
  CrtcWrite (0xB6, 0x04);
  CrtcWrite (0xA0, 0xF0);
  CrtcWrite (0xA1, 0x00);
  CrtcWrite (0xA2, 0x1C);
  CrtcWrite (0xA3, 0xFF);

  Ast2500RestoreExtended (OldUnlock);
}

STATIC
VOID
LoadStandardRegisters (
  VOID
  )
{
  UINT8  Index;

  SeqWrite (0x00, 0x03);
  SeqWrite (0x01, 0x21);
  for (Index = 0; Index < AST_SEQUENCER_COUNT; Index++) {
    SeqWrite ((UINT8)(AST_SEQUENCER_FIRST + Index), gAstSequencer[Index]);
  }

  IoWrite8 (VGA_MISC_OUTPUT_WRITE, MISC_OUTPUT_MODE);

  CrtcModify (0x11, (UINT8)~CR11_PROTECT_CR00_07, 0x00);
  for (Index = 0; Index < AST_CRTC_COUNT; Index++) {
    CrtcWrite (Index, gAstCrtc[Index]);
  }

  VgaResetAttributeFlipFlop ();
  for (Index = 0; Index < AST_ATTRIBUTE_COUNT; Index++) {
    IoWrite8 (VGA_ATTRIBUTE_PORT, Index);
    IoWrite8 (VGA_ATTRIBUTE_PORT, gAstAttribute[Index]);
  }

  IoWrite8 (VGA_ATTRIBUTE_PORT, 0x14);
  IoWrite8 (VGA_ATTRIBUTE_PORT, 0x00);
  VgaResetAttributeFlipFlop ();
  IoWrite8 (VGA_ATTRIBUTE_PORT, AR_PALETTE_ENABLE);
  VgaResetAttributeFlipFlop ();

  for (Index = 0; Index < AST_GRAPHICS_COUNT; Index++) {
    GraphicsWrite (Index, gAstGraphics[Index]);
  }
}

/**
  CRTC timing from the mode record. Values wider than 8 bits keep their low byte in the
  standard register; the high bits are gathered into the overflow registers CR07, CR09
  and the extended CRAC, CRAD and CRAE.
**/
STATIC
VOID
LoadTiming (
  IN CONST AST_DISPLAY_MODE  *Mode
  )
{
  UINT32  HBorder;
  UINT32  VBorder;
  UINT32  Value;
  UINT32  HBlankEnd;
  UINT32  HRetraceEnd;
  UINT32  VRetraceEnd;
  UINT8   Ac;
  UINT8   Ad;
  UINT8   Ae;
  UINT8   C7;
  UINT8   C9;

  HBorder = (Mode->Flags & AST_MODE_FLAG_HBORDER) != 0 ? 8 : 0;
  VBorder = (Mode->Flags & AST_MODE_FLAG_VBORDER) != 0 ? 8 : 0;
  Ac = Ad = Ae = C7 = C9 = 0;

  CrtcModify (0x11, (UINT8)~CR11_PROTECT_CR00_07, 0x00);

  Value = Mode->HorizontalTotal / 8 - 5;
  CrtcWrite (0x00, (UINT8)Value);
  Ac |= OVERFLOW_BIT (Value, 8, 0);

  Value = Mode->HorizontalDisplay / 8 - 1;
  CrtcWrite (0x01, (UINT8)Value);
  Ac |= OVERFLOW_BIT (Value, 8, 2);

  Value = (Mode->HorizontalDisplay + HBorder) / 8 - 1;
  CrtcWrite (0x02, (UINT8)Value);
  Ac |= OVERFLOW_BIT (Value, 8, 4);

  HBlankEnd = ((Mode->HorizontalTotal - HBorder) / 8 - 1) & 0x7F;
  CrtcModify (0x03, 0xE0, (UINT8)(HBlankEnd & 0x1F));
  Ad |= OVERFLOW_BIT (HBlankEnd, 6, 0);

  Value = (Mode->HorizontalDisplay + Mode->HorizontalFrontPorch + HBorder - 1) / 8;
  CrtcWrite (0x04, (UINT8)Value);
  Ac |= OVERFLOW_BIT (Value, 8, 6);

  HRetraceEnd = ((Mode->HorizontalDisplay + Mode->HorizontalFrontPorch + Mode->HorizontalSync + HBorder - 1) / 8) & 0x3F;
  CrtcModify (0x05, 0x60, (UINT8)((HRetraceEnd & 0x1F) | OVERFLOW_BIT (HBlankEnd, 5, 7)));
  Ad |= OVERFLOW_BIT (HRetraceEnd, 5, 2);

  CrtcWrite (0xAC, Ac);
  CrtcWrite (0xAD, Ad);

  Value = Mode->VerticalTotal - 2;
  CrtcWrite (0x06, (UINT8)Value);
  C7 |= OVERFLOW_BIT (Value, 8, 0) | OVERFLOW_BIT (Value, 9, 5);
  Ae |= OVERFLOW_BIT (Value, 10, 0);

  Value = Mode->VerticalDisplay + Mode->VerticalFrontPorch + VBorder - 1;
  CrtcWrite (0x10, (UINT8)Value);
  C7 |= OVERFLOW_BIT (Value, 8, 2) | OVERFLOW_BIT (Value, 9, 7);
  Ae |= OVERFLOW_BIT (Value, 10, 3);

  VRetraceEnd = (Mode->VerticalDisplay + Mode->VerticalFrontPorch + Mode->VerticalSync + VBorder - 1) & 0x3F;
  CrtcModify (0x11, 0x70, (UINT8)(VRetraceEnd & 0x0F));
  Ae |= OVERFLOW_BIT (VRetraceEnd, 4, 5) | OVERFLOW_BIT (VRetraceEnd, 5, 6);

  Value = Mode->VerticalDisplay - 1;
  CrtcWrite (0x12, (UINT8)Value);
  C7 |= OVERFLOW_BIT (Value, 8, 1) | OVERFLOW_BIT (Value, 9, 6);
  Ae |= OVERFLOW_BIT (Value, 10, 1);

  Value = Mode->VerticalDisplay + VBorder - 1;
  CrtcWrite (0x15, (UINT8)Value);
  C7 |= OVERFLOW_BIT (Value, 8, 3);
  C9 |= OVERFLOW_BIT (Value, 9, 5);
  Ae |= OVERFLOW_BIT (Value, 10, 2);

  Value = Mode->VerticalTotal - VBorder - 1;
  CrtcWrite (0x16, (UINT8)Value);
  Ae |= OVERFLOW_BIT (Value, 8, 4);

  CrtcWrite (0x07, C7);
  CrtcModify (0x09, 0xDF, C9);
  CrtcWrite (0xAE, (UINT8)(Ae | CRAE_OVERFLOW_VALID));
  CrtcModify (0x11, 0xFF, CR11_PROTECT_CR00_07);
}

STATIC
VOID
LoadPitch (
  VOID
  )
{
  UINT32  Offset;

  Offset = AST_SCREEN_WIDTH * AST_BYTES_PER_PIXEL / 8;   // in units of 8 bytes
  CrtcWrite (0x13, (UINT8)Offset);
  CrtcWrite (0xB0, (UINT8)(Offset >> 8));
}

STATIC
VOID
LoadPixelClock (
  IN CONST AST_PIXEL_CLOCK  *Clock
  )
{
  CrtcWrite (0xC0, Clock->Numerator);
  CrtcWrite (0xC1, Clock->Denominator);
  CrtcModify (0xBB, 0x0F, (UINT8)(Clock->PostDivider & 0xF0));
}

STATIC
VOID
LoadExtendedMode (
  IN CONST AST_DISPLAY_MODE  *Mode
  )
{
  CrtcModify (0xA0, 0xFF, 0x70);
  CrtcRead (0xA3);
  CrtcWrite (0xA3, 0x08);             // 32 bits per pixel
  CrtcModify (0xA8, 0xFD, 0x00);
  CrtcWrite (0xA7, 0x78);
  CrtcWrite (0xA6, 0x60);
  CrtcWrite (0x8C, 0x30);
  CrtcWrite (0x8D, Mode->RefreshIndex);
  CrtcWrite (0x8E, Mode->ModeId);
  IoWrite8 (VGA_MISC_OUTPUT_WRITE, (UINT8)((Mode->Flags & 0xEF) | MISC_OUTPUT_MODE));
}

/** The DAC's data writes are paced by reads of the sequencer index port. **/
STATIC
VOID
LoadPalette (
  VOID
  )
{
  UINTN  Entry;
  UINTN  Component;
  UINT8  Rgb[3];

  IoWrite8 (VGA_DAC_MASK, 0xFF);
  IoWrite8 (VGA_DAC_WRITE_INDEX, 0x00);
  for (Entry = 0; Entry < VGA_DAC_ENTRIES; Entry++) {
    IoWrite8 (VGA_DAC_WRITE_INDEX, (UINT8)Entry);
    Rgb[0] = gVgaDefaultPalette[Entry].Red;
    Rgb[1] = gVgaDefaultPalette[Entry].Green;
    Rgb[2] = gVgaDefaultPalette[Entry].Blue;
    for (Component = 0; Component < 3; Component++) {
      IoRead8 (VGA_SEQUENCER_INDEX);
      IoWrite8 (VGA_DAC_DATA, Rgb[Component]);
      IoRead8 (VGA_SEQUENCER_INDEX);
    }
  }
}

STATIC
VOID
ClearScreen (
  VOID
  )
{
  VOID  *Frame;

  Frame = PhysicalAddressToPointer (VGA_MEMORY_BASE, AST_SCREEN_WIDTH * AST_SCREEN_HEIGHT * AST_BYTES_PER_PIXEL);
  if (Frame != NULL) {
    ZeroMem (Frame, AST_SCREEN_WIDTH * AST_SCREEN_HEIGHT * AST_BYTES_PER_PIXEL);
  }
}

VOID
Ast2500SetMode (
  VOID
  )
{
  CONST AST_DISPLAY_MODE  *Mode;
  UINT8                   OldUnlock;
  UINT8                   Index;

  Mode      = &gAst800x600x32Mode;
  OldUnlock = Ast2500UnlockExtended ();

  SeqModify (0x01, 0xFF, SR01_SCREEN_OFF);
  for (Index = 0xAC; Index <= 0xB0; Index++) {
    CrtcWrite (Index, 0x00);
  }

  CrtcModify (0xBB, 0x0F, 0x00);

  LoadStandardRegisters ();
  LoadTiming (Mode);
  LoadPitch ();
  LoadPixelClock (&gAstPixelClock[Mode->PixelClockIndex]);
  LoadExtendedMode (Mode);
  LoadPalette ();
  ClearScreen ();

  SeqModify (0x01, (UINT8)~SR01_SCREEN_OFF, 0x00);
  Ast2500RestoreExtended (OldUnlock);
}
