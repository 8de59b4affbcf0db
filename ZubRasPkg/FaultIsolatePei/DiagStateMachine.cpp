/** @file
  The diagnosis state machine: one pass per boot from the BMC's request, the CMOS
  record and whether the previous boot succeeded.
**/
#include <Library/DebugLib.h>
#include "FaultIsolate.h"

STATIC BOOLEAN
PreviousBootSucceeded (
  VOID
  )
{
  return (BOOLEAN)((ZubDiagCmosRead (ZUB_DIAG_CMOS_FLAGS) & ZUB_DIAG_FLAG_BOOT_SUCCESS) != 0);
}

STATIC VOID
SetTestIndex (
  IN UINT8  Value
  )
{
  ZubDiagCmosWrite (ZUB_DIAG_CMOS_TEST_INDEX, Value);
}

STATIC UINT8
GetTestIndex (
  VOID
  )
{
  return ZubDiagCmosRead (ZUB_DIAG_CMOS_TEST_INDEX);
}

VOID
ZubRasHwDiagFound (
  VOID
  )
{
  ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_FOUND);
  ZubHWDiagSetPhase (4);
  ZubHwDiagDelayedColdReset ();
}

VOID
ZubRasHwDiagTerminate (
  VOID
  )
{
  ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_NOT_FOUND);
  ZubHwDiagDelayedColdReset ();
}

BOOLEAN
ZubRasEarlyValidateHwDiagData (
  VOID
  )
{
  UINT8  Mode;
  UINT8  Request;
  UINT8  Flags;

  Mode = ZubHWDiagGetMode ();
  if (Mode >= 3) {
    ZubHWDiagClearAll ();
    Mode = 0;
  }

  Request = ZubRasHwDiagReadCpldRequest ();
  if ((Request & ZUB_CPLD_REQUEST_HW_DIAG) == 0) {
    if (Mode == ZUB_DIAG_MODE_HW_DIAG) {
      ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_END);
      ZubHWDiagClearAll ();
      ZubHwDiagDelayedColdReset ();
    }

    Request = ZubRasHwDiagReadCpldRequest ();
    if ((Request & ZUB_CPLD_REQUEST_MIN_BOOT) == 0) {
      if (Mode == ZUB_DIAG_MODE_MINIMUM_BOOT) {
        ZubHWDiagClearAll ();
        ZubHwDiagDoColdReset ();
      }

      ZubHWDiagClearAll ();
      return FALSE;
    }
  }

  Flags = ZubDiagCmosRead (ZUB_DIAG_CMOS_FLAGS);
  if ((Flags & ZUB_DIAG_FLAG_WARM_RESET_IN_MEM_INIT) != 0) {
    ZubHWDiagClearFlags (ZUB_DIAG_FLAG_WARM_RESET_IN_MEM_INIT);
  }

  Flags = ZubDiagCmosRead (ZUB_DIAG_CMOS_FLAGS);
  if ((Flags & (ZUB_DIAG_FLAG_BOOT_SUCCESS | ZUB_DIAG_FLAG_OUTSIDE)) ==
      (ZUB_DIAG_FLAG_BOOT_SUCCESS | ZUB_DIAG_FLAG_OUTSIDE)) {
    ZubHWDiagClearFlags (0);
  }

  Flags = ZubDiagCmosRead (ZUB_DIAG_CMOS_FLAGS);
  if ((Flags & ZUB_DIAG_FLAG_IN_MEMORY_INIT) != 0) {
    ZubHWDiagClearFlags (ZUB_DIAG_FLAG_IN_MEMORY_INIT);
    ZubDiagCmosWrite (ZUB_DIAG_CMOS_FLAGS,
                      (UINT8)(ZubDiagCmosRead (ZUB_DIAG_CMOS_FLAGS) | ZUB_DIAG_FLAG_WARM_RESET_IN_MEM_INIT));
    DEBUG ((DEBUG_INFO, "ZubRasEarlyValidateHwDiagData      Warm reset occurs during procmeminit\n"));
    return FALSE;
  }

  return TRUE;
}

BOOLEAN
ZubRasHwDiagnoseCheckExceptionInfo (
  VOID
  )
{
  UINT8    Code;
  UINT8    ExceptionFlags;
  BOOLEAN  Exception;

  Code           = ZubDiagCmosRead (ZUB_DIAG_CMOS_EXCEPTION_CODE);
  ExceptionFlags = ZubDiagCmosRead (ZUB_DIAG_CMOS_EXCEPTION_FLAGS);
  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseCheckExceptionInfo\n"));
  Exception = TRUE;
  if ((ExceptionFlags & ZUB_DIAG_EXCEPTION_RC_INTERNAL) != 0) {
    DEBUG ((DEBUG_INFO, "     RC_INTERNAL\n"));
  } else if ((ExceptionFlags & ZUB_DIAG_EXCEPTION_RC_OTHER) != 0) {
    DEBUG ((DEBUG_INFO, "     RC_other\n"));
  } else if (Code != 0) {
    DEBUG ((DEBUG_INFO, "     ExcpInfo    Code: 0x%x\n", Code));
  } else {
    Exception = FALSE;
  }

  return (BOOLEAN)(Exception && !PreviousBootSucceeded ());
}

BOOLEAN
ZubRasHwDiagValidatePhaseStep (
  VOID
  )
{
  UINT8  Phase;
  UINT8  Step;
  UINT8  SubStep;
  UINT8  ExtInfo;
  UINT8  TestIndex;

  Phase     = ZubHWDiagGetPhase ();
  Step      = ZubHWDiagGetStep ();
  SubStep   = ZubHWDiagGetSubStep ();
  ExtInfo   = ZubHWDiagGetSubStepExtInfo ();
  TestIndex = GetTestIndex ();

  if (Phase == 2) {
    switch (Step) {
      case 1:
        return (BOOLEAN)(SubStep < 5);
      case 2:
      case 3:
        return (BOOLEAN)(SubStep <= 2);
      case 4:
        //
        // CPUs from SubStep on are disabled: 8, 6, 4, 3, 2; after 2, CPU 1 core by core.
        //
        if (SubStep == 7) {
          ZubHWDiagSetSubStep (6);
        } else if (SubStep == 5) {
          ZubHWDiagSetSubStep (4);
        } else if (SubStep == 1) {
          ZubHWDiagSetPhase (3);
          ZubHWDiagSetSubStepExtInfo (0);
          SetTestIndex (0xFF);
        }
        return TRUE;
      default:
        return TRUE;
    }
  }

  if (Phase == 3) {
    switch (Step) {
      case 1:
        switch (SubStep) {
          case 1: return (BOOLEAN)(TestIndex <= 20);
          case 2: return (BOOLEAN)(TestIndex <= 16);
          case 3: return (BOOLEAN)(TestIndex <= 8);
          case 4: return (BOOLEAN)(TestIndex <= 6);
          default: return TRUE;
        }
      case 2:
        return (BOOLEAN)(TestIndex <= 21);
      case 3:
        return (BOOLEAN)(TestIndex >= 1);
      case 4:
        if (TestIndex != 0) {
          return TRUE;
        }
        if (SubStep <= 4 || ExtInfo != 0) {
          return FALSE;
        }
        ZubHWDiagSetSubStepExtInfo (1);
        SetTestIndex (0xFF);
        return TRUE;
      default:
        return TRUE;
    }
  }

  return TRUE;
}

STATIC VOID
AdvancePhase0 (
  IN UINT8    Step,
  IN BOOLEAN  Success
  )
{
  if (Success) {
    if (Step == 1) {
      ZubHWDiagSetPhase (1);
      ZubHWDiagSetStep (1);
      SetTestIndex (0);
      DEBUG ((DEBUG_INFO, "         PHASE 0 minimum boot success, transition to phase 1 step 1\n"));
      return;
    }
    DEBUG ((DEBUG_INFO, " step %d boot success\n", Step));
    ZubRasHwDiagTerminate ();
  }

  if (Step == 0) {
    ZubHWDiagSetStep (1);
    DEBUG ((DEBUG_INFO, "         PHASE 0 step 0 boot fail, start mininum boot\n"));
    return;
  }
  ZubRasHwDiagTerminate ();
}

STATIC VOID
AdvancePhase1 (
  IN UINT8    Step,
  IN BOOLEAN  Success
  )
{
  if (Success) {
    ZubHWDiagSetPhase (2);
    ZubHWDiagSetSubStep (1);
    ZubHWDiagSetSubStepExtInfo (0);
    DEBUG ((DEBUG_INFO, "                   PHASE 1 boot success, transition to phase 2\n"));
    return;
  }

  DEBUG ((DEBUG_INFO, "                   PHASE 1 boot fail, transition to "));
  if (Step == 3) {
    ZubHWDiagSetPhase (2);
    ZubHWDiagSetStep (4);
    ZubHWDiagSetSubStep (8);
    ZubHWDiagSetSubStepExtInfo (0);
    DEBUG ((DEBUG_INFO, "phase 2 step 4 substep 8, cause fail device is not under pch or IIO or memory\n"));
  } else {
    ZubHWDiagSetStep ((UINT8)(Step + 1));
    DEBUG ((DEBUG_INFO, "next step \n"));
  }
}

STATIC VOID
AdvancePhase2 (
  IN UINT8    Step,
  IN UINT8    SubStep,
  IN BOOLEAN  Success
  )
{
  UINT8  Next;

  if (Success) {
    ZubHWDiagSetPhase (3);
    SetTestIndex (1);
    ZubHWDiagSetSubStepExtInfo (0);
    if (Step == 3 || Step == 4) {
      SetTestIndex (0xFF);
    }
    DEBUG ((DEBUG_INFO, "                   PHASE 2 boot success, transition to phase 3\n"));
  } else {
    Next = (Step == 4) ? (UINT8)(SubStep - 1) : (UINT8)(SubStep + 1);
    ZubHWDiagSetSubStep (Next);
    DEBUG ((DEBUG_INFO, "                   PHASE 2 SubStep %d boot fail, transition to ", SubStep));
    DEBUG ((DEBUG_INFO, "next substep %d\n", ZubHWDiagGetSubStep ()));
  }

  if (!ZubRasHwDiagValidatePhaseStep ()) {
    DEBUG ((DEBUG_INFO, "     validate phase step fail, need terminate diagnose\n"));
    ZubRasHwDiagTerminate ();
  }
}

STATIC VOID
AdvancePhase3 (
  IN UINT8    Step,
  IN UINT8    SubStep,
  IN BOOLEAN  Success
  )
{
  UINT8  TestIndex;

  DEBUG ((DEBUG_INFO, "                   PHASE 3    Step    %d  SubStep    %d", Step, SubStep));
  if (Success) {
    DEBUG ((DEBUG_INFO, "     boot success, failed device was found\n"));
    ZubRasHwDiagFound ();
  }

  TestIndex = GetTestIndex ();
  switch (Step) {
    case 1:
    case 2:
      SetTestIndex ((UINT8)(TestIndex + 1));
      DEBUG ((DEBUG_INFO, "     boot fail, try next attempt\n"));
      break;
    case 3:
      if ((ZubDiagCmosRead (ZUB_DIAG_CMOS_EXCEPTION_FLAGS) & ZUB_DIAG_EXCEPTION_PMEM_PRESENT) != 0 &&
          TestIndex == 0xFE) {
        SetTestIndex (0xFF);
        DEBUG ((DEBUG_INFO, "     Disable all DCPMM and boot fail, try to disable DDR\n"));
      } else {
        SetTestIndex ((UINT8)(TestIndex - 1));
        DEBUG ((DEBUG_INFO, "     boot fail, try next attempt\n"));
      }
      break;
    case 4:
      SetTestIndex ((UINT8)(TestIndex - 1));
      DEBUG ((DEBUG_INFO, "     boot fail, try next attempt\n"));
      if (!ZubRasHwDiagValidatePhaseStep ()) {
        DEBUG ((DEBUG_INFO, "     Validate phase and step fail, but in phase 3 step 4, consider as success, failed device is CPU\n"));
        ZubRasHwDiagFound ();
      }
      return;
    default:
      break;
  }

  if (!ZubRasHwDiagValidatePhaseStep ()) {
    DEBUG ((DEBUG_INFO, "     Validate phase and step fail, terminate diag\n"));
    ZubRasHwDiagTerminate ();
  }
}

VOID
ZubRasHwDiagnoseCheckHwMain (
  VOID
  )
{
  UINT8    Mode;
  BOOLEAN  Active;
  BOOLEAN  Request;
  BOOLEAN  Success;
  UINT8    Phase;
  UINT8    Step;
  UINT8    SubStep;
  UINT8    ExtInfo;

  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseCheckHwMain ---start\n"));
  Mode    = ZubHWDiagGetMode ();
  Active  = (BOOLEAN)((Mode & ZUB_DIAG_MODE_HW_DIAG) != 0);
  Request = (BOOLEAN)((ZubRasHwDiagReadCpldRequest () & ZUB_CPLD_REQUEST_HW_DIAG) != 0);
  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseCheckHwMain      QMBEnHwDiag: %d     \n", Request));

  if (!Request && !Active) {
    return;
  }

  if (Request && !Active) {
    ZubHWDiagClearAll ();
    ZubHWDiagSetMode (ZUB_DIAG_MODE_HW_DIAG);
    DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseCheckHwMain      do cold reset to start Hw Diag  \n"));
    ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_START);
    ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_PROGRESS);
    return;
  }

  if (ZubRasHwDiagnoseCheckExceptionInfo ()) {
    ZubRasHwDiagTerminate ();
  }

  Success = PreviousBootSucceeded ();
  Phase   = ZubHWDiagGetPhase ();
  Step    = ZubHWDiagGetStep ();
  SubStep = ZubHWDiagGetSubStep ();
  ExtInfo = ZubHWDiagGetSubStepExtInfo ();
  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseCheckHwMain      Phase: %d    Step: %d   SubStep: %d     SubStepExtInfo: %d\n",
          Phase, Step, SubStep, ExtInfo));

  switch (Phase) {
    case 0: AdvancePhase0 (Step, Success); break;
    case 1: AdvancePhase1 (Step, Success); break;
    case 2: AdvancePhase2 (Step, SubStep, Success); break;
    case 3: AdvancePhase3 (Step, SubStep, Success); break;
    default: break;
  }

  if (Success) {
    DEBUG ((DEBUG_INFO, "         Clear boot to shell success flag\n"));
    ZubHWDiagClearFlags (ZUB_DIAG_FLAG_BOOT_SUCCESS);
  }

  ZubRasHwDiagSendDyl (ZUB_DIAG_REPORT_PROGRESS);
}

VOID
ZubRasHwDiagnoseSetMinimumBoot (
  VOID
  )
{
  UINT8  Mode;

  DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseSetMinimumBoot ---start\n"));
  Mode = ZubDiagCmosRead (ZUB_DIAG_CMOS_MODE);
  if ((Mode & ZUB_DIAG_MODE_HW_DIAG) != 0) {
    ZubHWDiagClearMode (ZUB_DIAG_MODE_MINIMUM_BOOT);
    DEBUG ((DEBUG_INFO, "ZubRasHwDiagnoseSetMinimumBoot   HW diag enabled, no need to check minimum boot, return\n"));
    return;
  }

  if ((ZubRasHwDiagReadCpldRequest () & ZUB_CPLD_REQUEST_MIN_BOOT) == 0) {
    ZubHWDiagClearMode (ZUB_DIAG_MODE_MINIMUM_BOOT);
    return;
  }

  if ((Mode & ZUB_DIAG_MODE_MINIMUM_BOOT) != 0) {
    return;
  }

  ZubHWDiagSetMode (ZUB_DIAG_MODE_MINIMUM_BOOT);
  DEBUG ((DEBUG_ERROR, "ZubRasHwDiagnoseSetMinimumBoot: do cold reset to start minimum boot \n"));
}
