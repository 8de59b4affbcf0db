/** @file
  TextConsolePei: the drawing service of the early console.

  Installs EARLY_VGA_DISPLAY_PPI, whose four functions paint into the 800x600x32 frame
  buffer at PcdZubVgaMemoryBase (read at every call). Beyond the argument checks of each
  function:
  - No frame buffer (the PCD is 0, or its range does not decode because the video
    device was not brought up): EFI_NOT_READY, nothing drawn.
  - Text and images are clipped to the 800x600 rectangle, never written past it: the
    rest of video memory belongs to the BMC channel, the volatile store and the debug
    log. A string is drawn up to column 99; row 37 shows the top half of its cells; a
    centred image larger than the screen keeps its centre and loses its edges.
  - DrawBmp never reads outside the image: the file size field (offset 2) bounds every
    read. A header too short for its fields, pixel data or a palette beyond the file
    size, a palette index beyond the palette (biClrUsed entries, 256 when 0), a run-length
    stream that ends before the image does, or an escape other than end-of-line (a zero
    count directly after the skipped pair) give EFI_INVALID_PARAMETER, and nothing is
    drawn: an 8-bit image is checked completely before its first pixel is painted.
  - A negative (top-down) height is read as a huge unsigned row count and refused by
    the size check.
**/
#ifndef TEXT_CONSOLE_H_
#define TEXT_CONSOLE_H_

#include <PiPei.h>
#include <Ppi/EarlyVgaDisplay.h>

EFI_STATUS EFIAPI DrawString (IN EARLY_VGA_DISPLAY_PPI *This, IN UINTN Column, IN UINTN Row,
                              IN UINT32 Foreground, IN UINT32 Background, IN CONST CHAR8 *String);
EFI_STATUS EFIAPI DrawBmp (IN EARLY_VGA_DISPLAY_PPI *This, IN UINTN X, IN UINTN Y, IN BOOLEAN Centered,
                           IN CONST VOID *Image);
EFI_STATUS EFIAPI DrawVerticalLine (IN EARLY_VGA_DISPLAY_PPI *This, IN UINTN X, IN UINTN StartY,
                                    IN UINTN EndY, IN UINT32 Color);
EFI_STATUS EFIAPI DrawHorizontalLine (IN EARLY_VGA_DISPLAY_PPI *This, IN UINTN StartX, IN UINTN EndX,
                                      IN UINTN Y, IN UINT32 Color);

#endif
