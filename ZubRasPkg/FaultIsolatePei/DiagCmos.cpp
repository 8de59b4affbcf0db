/** @file
  The diagnosis record in the standard CMOS bank. The index is written as it is: bit 7
  of port 0x70 (the NMI mask) goes out as 0.
**/
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include "FaultIsolate.h"

#define CMOS_INDEX_PORT  0x70
#define CMOS_DATA_PORT   0x71

UINT8
ZubDiagCmosRead (
  IN UINT8  Index
  )
{
  IoWrite8 (CMOS_INDEX_PORT, Index);
  return IoRead8 (CMOS_DATA_PORT);
}

VOID
ZubDiagCmosWrite (
  IN UINT8  Index,
  IN UINT8  Value
  )
{
  IoWrite8 (CMOS_INDEX_PORT, Index);
  IoWrite8 (CMOS_DATA_PORT, Value);
}

UINT8 ZubHWDiagGetPhase (VOID) { return (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_PHASE_STEP) >> 4); }
UINT8 ZubHWDiagGetStep (VOID) { return (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_PHASE_STEP) & 0x0F); }
UINT8 ZubHWDiagGetSubStep (VOID) { return (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_SUBSTEP) >> 4); }
UINT8 ZubHWDiagGetSubStepExtInfo (VOID) { return (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_SUBSTEP) & 0x0F); }

VOID
ZubHWDiagSetPhase (
  IN UINT8  Phase
  )
{
  DEBUG ((DEBUG_INFO, "ZubHWDiagSetPhase  Phase: %x\n", Phase));
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_PHASE_STEP,
                    (UINT8)((ZubDiagCmosRead (ZUB_DIAG_CMOS_PHASE_STEP) & 0x0F) | (Phase << 4)));
}

VOID
ZubHWDiagSetStep (
  IN UINT8  Step
  )
{
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_PHASE_STEP, (UINT8)((ZubDiagCmosRead (ZUB_DIAG_CMOS_PHASE_STEP) & 0xF0) | Step));
}

VOID
ZubHWDiagSetSubStep (
  IN UINT8  SubStep
  )
{
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_SUBSTEP, (UINT8)((ZubDiagCmosRead (ZUB_DIAG_CMOS_SUBSTEP) & 0x0F) | (SubStep << 4)));
}

VOID
ZubHWDiagSetSubStepExtInfo (
  IN UINT8  Info
  )
{
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_SUBSTEP, (UINT8)((ZubDiagCmosRead (ZUB_DIAG_CMOS_SUBSTEP) & 0xF0) | Info));
}

UINT8
ZubHWDiagGetMode (
  VOID
  )
{
  UINT8  Data8;

  Data8 = ZubDiagCmosRead (ZUB_DIAG_CMOS_MODE);
  DEBUG ((DEBUG_INFO, "ZubHWDiagGetMode  Data8: %x\n", Data8));
  return Data8;
}

VOID
ZubHWDiagSetMode (
  IN INT32  Bits
  )
{
  if (Bits < 255) {
    ZubDiagCmosWrite (ZUB_DIAG_CMOS_MODE, (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_MODE) | (UINT8)Bits));
  }
}

STATIC VOID
ZubHWDiagClearBits (
  IN UINT8  Index,
  IN UINT8  Bits
  )
{
  ZubDiagCmosWrite (Index, Bits != 0 ? (UINT8)(ZubDiagCmosRead (Index) & (UINT8)~Bits) : 0);
}

VOID ZubHWDiagClearMode (IN UINT8 Bits) { ZubHWDiagClearBits (ZUB_DIAG_CMOS_MODE, Bits); }
VOID ZubHWDiagClearFlags (IN UINT8 Bits) { ZubHWDiagClearBits (ZUB_DIAG_CMOS_FLAGS, Bits); }

VOID
ZubHWDiagClearAll (
  VOID
  )
{
  ZubHWDiagSetPhase (0);
  ZubHWDiagSetStep (0);
  ZubHWDiagSetSubStep (0);
  ZubHWDiagSetSubStepExtInfo (0);
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_TEST_INDEX, 0);
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_EXCEPTION_CODE, 0);
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_FLAGS, 0);
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_MODE, 0);
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_EXCEPTION_FLAGS, 0);
}

VOID
ZubHwDiagDumpCMOSReg (
  VOID
  )
{
  UINT8  Index;

  for (Index = ZUB_DIAG_CMOS_FLAGS; Index <= ZUB_DIAG_CMOS_EXCEPTION_CODE; Index++) {
    DEBUG ((DEBUG_INFO, "ZubHwDiagDumpCMOSReg      -x%x:    0x%x\n", Index, ZubDiagCmosRead (Index)));
  }
}

UINT8
ZubHWDiagReadCmos (
  IN UINT8  Offset
  )
{
  if (Offset > ZUB_DIAG_CMOS_EXCEPTION_CODE - ZUB_DIAG_CMOS_FLAGS) {
    return 0;
  }

  return ZubDiagCmosRead ((UINT8)(ZUB_DIAG_CMOS_FLAGS + Offset));
}
