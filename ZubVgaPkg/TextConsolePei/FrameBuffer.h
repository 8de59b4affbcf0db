/** @file
  The console's view of the frame buffer: 800x600 pixels of 32 bits at
  PcdZubVgaMemoryBase, pitch 800 pixels. Every write is clipped to that rectangle: the
  video memory behind it belongs to the quick-transfer channel, the volatile store and
  the debug-log window.
**/
#ifndef FRAME_BUFFER_H_
#define FRAME_BUFFER_H_

#include <Uefi/UefiBaseType.h>
#include <Ppi/EarlyVgaDisplay.h>

#define FRAME_BUFFER_BYTES \
  ((UINTN)EARLY_VGA_SCREEN_WIDTH * EARLY_VGA_SCREEN_HEIGHT * EARLY_VGA_BYTES_PER_PIXEL)

/**
  The frame buffer as read from PcdZubVgaMemoryBase now.

  @retval EFI_SUCCESS    *Frame points at the 800x600 pixels.
  @retval EFI_NOT_READY  The PCD is still 0, or the range does not decode to memory
                         (the video device was not brought up).
**/
EFI_STATUS
GetFrameBuffer (
  OUT UINT32  **Frame
  );

/**
  Writes one pixel; coordinates outside the screen (negative ones included) are dropped.
**/
VOID
PutPixel (
  IN UINT32  *Frame,
  IN INT64   X,
  IN INT64   Y,
  IN UINT32  Color
  );

#endif
