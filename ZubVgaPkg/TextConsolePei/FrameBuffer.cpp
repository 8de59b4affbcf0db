/** @file
  Frame-buffer lookup and clipped pixel writes.
**/
#include "FrameBuffer.h"

#include <Library/IoLib.h>
#include <Library/PcdLib.h>

EFI_STATUS
GetFrameBuffer (
  OUT UINT32  **Frame
  )
{
  UINT32  Base;
  VOID    *Pixels;

  Base = PcdGet32 (PcdZubVgaMemoryBase);
  if (Base == 0) {
    return EFI_NOT_READY;
  }

  Pixels = PhysicalAddressToPointer (Base, FRAME_BUFFER_BYTES);
  if (Pixels == NULL) {
    return EFI_NOT_READY;
  }

  *Frame = (UINT32 *)Pixels;
  return EFI_SUCCESS;
}

VOID
PutPixel (
  IN UINT32  *Frame,
  IN INT64   X,
  IN INT64   Y,
  IN UINT32  Color
  )
{
  if ((X < 0) || (Y < 0) || (X >= EARLY_VGA_SCREEN_WIDTH) || (Y >= EARLY_VGA_SCREEN_HEIGHT)) {
    return;
  }

  Frame[(UINTN)Y * EARLY_VGA_SCREEN_WIDTH + (UINTN)X] = Color;
}
