/** @file
  VGA register access over the legacy I/O ports.
**/
#include "VgaRegisters.h"

#include <Library/IoLib.h>

UINT8
VgaReadIndexed (
  IN UINT16  IndexPort,
  IN UINT8   Index
  )
{
  IoWrite8 (IndexPort, Index);
  return IoRead8 (IndexPort + 1U);
}

VOID
VgaWriteIndexed (
  IN UINT16  IndexPort,
  IN UINT8   Index,
  IN UINT8   Value
  )
{
  IoWrite8 (IndexPort, Index);
  IoWrite8 (IndexPort + 1U, Value);
}

VOID
VgaModifyIndexed (
  IN UINT16  IndexPort,
  IN UINT8   Index,
  IN UINT8   AndMask,
  IN UINT8   OrMask
  )
{
  VgaWriteIndexed (IndexPort, Index, (UINT8)((VgaReadIndexed (IndexPort, Index) & AndMask) | OrMask));
}

VOID
VgaResetAttributeFlipFlop (
  VOID
  )
{
  IoRead8 (VGA_INPUT_STATUS_COLOR);
  IoRead8 (VGA_INPUT_STATUS_MONO);
}

UINT8
Ast2500UnlockExtended (
  VOID
  )
{
  UINT8  Old;

  Old = CrtcRead (AST_CRTC_UNLOCK_INDEX);
  CrtcWrite (AST_CRTC_UNLOCK_INDEX, AST_CRTC_UNLOCK_KEY);
  return Old;
}

VOID
Ast2500RestoreExtended (
  IN UINT8  OldUnlock
  )
{
  if (OldUnlock != AST_CRTC_UNLOCK_KEY) {
    CrtcWrite (AST_CRTC_UNLOCK_INDEX, OldUnlock);
  }
}
