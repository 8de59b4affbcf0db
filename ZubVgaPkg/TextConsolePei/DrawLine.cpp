/** @file
  One-pixel vertical and horizontal lines over half-open ranges. The end coordinate is
  exclusive and must itself lie on the screen, so a line stops at column 798 or row 598.
**/
#include "TextConsole.h"

#include "FrameBuffer.h"

EFI_STATUS
EFIAPI
DrawVerticalLine (
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  X,
  IN UINTN                  StartY,
  IN UINTN                  EndY,
  IN UINT32                 Color
  )
{
  EFI_STATUS  Status;
  UINT32      *Frame;
  UINTN       Y;

  if ((This == NULL) || (StartY > EndY)) {
    return EFI_INVALID_PARAMETER;
  }

  if ((X >= EARLY_VGA_SCREEN_WIDTH) || (EndY >= EARLY_VGA_SCREEN_HEIGHT)) {
    return EFI_OUT_OF_RESOURCES;
  }

  if (StartY == EndY) {
    return EFI_SUCCESS;
  }

  Status = GetFrameBuffer (&Frame);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  for (Y = StartY; Y < EndY; Y++) {
    PutPixel (Frame, (INT64)X, (INT64)Y, Color);
  }

  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
DrawHorizontalLine (
  IN EARLY_VGA_DISPLAY_PPI  *This,
  IN UINTN                  StartX,
  IN UINTN                  EndX,
  IN UINTN                  Y,
  IN UINT32                 Color
  )
{
  EFI_STATUS  Status;
  UINT32      *Frame;
  UINTN       X;

  if ((This == NULL) || (StartX > EndX)) {
    return EFI_INVALID_PARAMETER;
  }

  if ((EndX >= EARLY_VGA_SCREEN_WIDTH) || (Y >= EARLY_VGA_SCREEN_HEIGHT)) {
    return EFI_OUT_OF_RESOURCES;
  }

  if (StartX == EndX) {
    return EFI_SUCCESS;
  }

  Status = GetFrameBuffer (&Frame);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  for (X = StartX; X < EndX; X++) {
    PutPixel (Frame, (INT64)X, (INT64)Y, Color);
  }

  return EFI_SUCCESS;
}
