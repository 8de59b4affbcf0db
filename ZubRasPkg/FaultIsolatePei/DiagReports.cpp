/** @file
  The five DYL reports of the diagnosis and the texts they carry. CMOS and CPLD values
  are untrusted: every table lookup is bounds-checked.
**/
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PrintLib.h>
#include <Library/ZubDylLib.h>
#include "FaultIsolate.h"

#define MEMORY_MODULE_COUNT  16
#define IIO_PORT_FIRST       2
#define IIO_PORT_LAST        21

typedef struct {
  UINT8  Phase;
  UINT8  Step;
  UINT8  SubStep;
  UINT8  ExtInfo;
  UINT8  TestIndex;
  UINT8  ExceptionFlags;
  UINT8  ExceptionCode;
} DIAG_STATE;

STATIC VOID
ReadState (
  OUT DIAG_STATE  *State
  )
{
  State->Phase          = ZubHWDiagGetPhase ();
  State->Step           = ZubHWDiagGetStep ();
  State->SubStep        = ZubHWDiagGetSubStep ();
  State->ExtInfo        = ZubHWDiagGetSubStepExtInfo ();
  State->TestIndex      = ZubDiagCmosRead (ZUB_DIAG_CMOS_TEST_INDEX);
  State->ExceptionFlags = ZubDiagCmosRead (ZUB_DIAG_CMOS_EXCEPTION_FLAGS);
  State->ExceptionCode  = ZubDiagCmosRead (ZUB_DIAG_CMOS_EXCEPTION_CODE);
}

STATIC VOID
TakeSnapshot (
  OUT UINT8  *Snapshot
  )
{
  UINT8  Offset;

  for (Offset = 0; Offset < ZUB_DIAG_CMOS_SNAPSHOT_SIZE; Offset++) {
    Snapshot[Offset] = ZubHWDiagReadCmos (Offset);
  }
}

STATIC BOOLEAN
IsolationRequested (
  VOID
  )
{
  return (BOOLEAN)((ZubRasHwDiagReadCpldRequest () & ZUB_CPLD_REQUEST_ISOLATE) != 0);
}

// Memory module i (from 1): A0, A1, B0 ... H1; anything else is no module of the board.
VOID
ZubRasHwDiagMemoryName (
  IN  UINT8  Index,
  OUT CHAR8  Name[3]
  )
{
  if (Index < 1 || Index > MEMORY_MODULE_COUNT) {
    Name[0] = '?';
    Name[1] = '?';
  } else {
    Name[0] = (CHAR8)('A' + (Index - 1) / 2);
    Name[1] = (CHAR8)('0' + (Index - 1) % 2);
  }
  Name[2] = '\0';
}

// IIO port index 2-21: 1A-1D, 2A-2D, 3A-3D, 4A-4D, 5A-5D.
VOID
ZubRasHwDiagIioPortName (
  IN  UINT8  Index,
  OUT CHAR8  Name[3]
  )
{
  if (Index < IIO_PORT_FIRST || Index > IIO_PORT_LAST) {
    Name[0] = '?';
    Name[1] = '?';
  } else {
    Name[0] = (CHAR8)(Index <= 5 ? '1' : Index <= 9 ? '2' : Index <= 13 ? '3' : Index <= 17 ? '4' : '5');
    Name[1] = (CHAR8)('A' + (Index - IIO_PORT_FIRST) % 4);
  }
  Name[2] = '\0';
}

STATIC VOID
ApplyClassMap (
  IN     CONST DIAG_STATE  *State,
  IN OUT HW_DIAG_RESULT    *Record
  )
{
  UINTN  Row;

  for (Row = 0; Row < mHwDiagClassMapCount; Row++) {
    if (mHwDiagClassMap[Row].Step == State->Step &&
        (mHwDiagClassMap[Row].AnySubStep == 1 || mHwDiagClassMap[Row].SubStep == State->SubStep)) {
      Record->Kind  = (UINT8)((Record->Kind & ~HW_DIAG_KIND_CLASS_MASK) | mHwDiagClassMap[Row].Class);
      Record->Owner = mHwDiagClassMap[Row].Owner;
    }
  }
}

STATIC UINT32
InfoFromBytes (
  IN UINT8  Byte0,
  IN UINT8  Byte1,
  IN UINT8  Byte2,
  IN UINT8  Byte3
  )
{
  return (UINT32)Byte0 | ((UINT32)Byte1 << 8) | ((UINT32)Byte2 << 16) | ((UINT32)Byte3 << 24);
}

VOID
ZubRasHwDiagFillProcInfo (
  IN OUT HW_DIAG_PROC_INFO  *Record
  )
{
  DIAG_STATE                 State;
  CONST HW_DIAG_STATUS_TEXT  *Row;
  UINTN                      Index;

  if (Record == NULL) {
    DEBUG ((DEBUG_ERROR, "ZubRasHwDiagFillProcInfo: pProcDyl is NULL\n"));
    return;
  }

  ReadState (&State);
  if (State.Phase == 4) {
    AsciiSPrint (Record->Text, sizeof (Record->Text), "%a", mHwDiagStatusText[mHwDiagStatusTextCount - 1].Text);
    return;
  }

  for (Index = 0; Index < mHwDiagStatusTextCount; Index++) {
    Row = &mHwDiagStatusText[Index];
    if (Row->Phase == State.Phase && Row->Step == State.Step && Row->SubStep == State.SubStep) {
      AsciiSPrint (Record->Text, sizeof (Record->Text), "%a", Row->Text);
      return;
    }
  }

  for (Index = 0; Index < mHwDiagStatusTextCount; Index++) {
    Row = &mHwDiagStatusText[Index];
    if (Row->Phase == State.Phase && Row->Step == State.Step) {
      AsciiSPrint (Record->Text, sizeof (Record->Text), "%a%d%a", Row->Text, State.SubStep, Row->Suffix);
      return;
    }
  }
}

STATIC CONST CHAR8 *
Sentence (
  IN BOOLEAN         Isolate,
  IN HW_DIAG_ACTION  Action
  )
{
  return Isolate ? mHwDiagActionSentence[Action] : "";
}

STATIC VOID
FillFoundText (
  IN OUT HW_DIAG_RESULT  *Record
  )
{
  CHAR8        *Text;
  UINTN        Size;
  BOOLEAN      Isolate;
  UINT8        D;
  UINT8        High;
  UINT8        P;
  CHAR8        Name[3];
  CONST CHAR8  *Code;

  Text    = Record->Text;
  Size    = sizeof (Record->Text);
  Isolate = IsolationRequested ();
  D       = (UINT8)(Record->Detail & 0xFF);
  High    = (UINT8)(Record->Detail >> 8);

  switch (Record->Kind & HW_DIAG_KIND_CLASS_MASK) {
    case HW_DIAG_CLASS_CPU:
      if (D != 0) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. Core %d of CPU %d failed.%a", D, Record->Owner,
                     Sentence (Isolate, ActionCpuCore));
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. CPU %d failed.%a", Record->Owner, Sentence (Isolate, ActionCpu));
      }
      break;

    case HW_DIAG_CLASS_MEMORY:
      ZubRasHwDiagMemoryName (D, Name);
      if ((Record->Detail & HW_DIAG_DETAIL_PMEM) != 0 && D == 0) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. NVDIMMs of CPU %d failed.%a", Record->Owner,
                     Sentence (Isolate, ActionNvdimm));
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. Memory module %a of CPU %d failed.%a", Name, Record->Owner,
                     Sentence (Isolate, (Record->Detail & HW_DIAG_DETAIL_PMEM) != 0 ? ActionMemoryWithPmem : ActionMemory));
      }
      break;

    case HW_DIAG_CLASS_IIO_PCIE:
      ZubRasHwDiagIioPortName (D, Name);
      if (High != ZUB_NO_SLOT) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. PCIe device connected to IIO port %a of CPU %d - slot %d failed.%a",
                     Name, Record->Owner, High, Sentence (Isolate, ActionSlot));
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. PCIe device connected to IIO port %a of CPU %d failed.%a", Name,
                     Record->Owner, Sentence (Isolate, ActionPort));
      }
      break;

    case HW_DIAG_CLASS_SATA:
      AsciiSPrint (Text, Size, "Diagnosis succeeded. SATA device connected to SATA port %d of the PCH failed.%a", D,
                   Sentence (Isolate, ActionPort));
      break;

    case HW_DIAG_CLASS_SSATA:
      P = D < mSsataPortCount ? mSsataPortPlacement[D] : 0;
      if ((P & 0xF0) == 0x40) {
        AsciiSPrint (Text, Size,
                     "Diagnosis succeeded. SATA device (location is M.2-SSD%d) connected to sSATA port %d of the PCH failed.%a",
                     P - 0x40, D, Sentence (Isolate, ActionPort));
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. SATA device connected to sSATA port %d of the PCH failed.%a", D,
                     Sentence (Isolate, ActionPort));
      }
      break;

    case HW_DIAG_CLASS_USB:
      Code = (D >= 1 && D <= mUsbPortCount) ? mUsbLocation[D - 1].Code : "-----";
      if (CompareMem (Code, "REAR", 4) == 0) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is rear %a) failed.%a",
                     Code[4] == 'U' ? "up" : "down", Sentence (Isolate, ActionUsb));
      } else if (CompareMem (Code, "INTR", 4) == 0) {
        if (Code[4] == 'U' || Code[4] == 'D') {
          AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is internal port %a) failed.%a",
                       Code[4] == 'U' ? "up" : "down", Sentence (Isolate, ActionUsb));
        } else {
          AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is internal port %c) failed.%a", Code[4],
                       Sentence (Isolate, ActionUsb));
        }
      } else if (CompareMem (Code, "EAR", 3) == 0) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is %a ear) failed.%a",
                     Code[3] == 'L' ? "left" : "right", Sentence (Isolate, ActionUsb));
      } else if (CompareMem (Code, "DSD", 3) == 0) {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is double SD) failed.%a",
                     Sentence (Isolate, ActionUsb));
      } else if (CompareMem (Code, "FNT", 3) == 0) {
        if (Code[3] == 'H') {
          AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is front high-density port %c) failed.%a",
                       Code[4], Sentence (Isolate, ActionUsb));
        } else {
          AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device (location is front) failed.%a",
                       Sentence (Isolate, ActionUsb));
        }
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. USB device failed.%a", Sentence (Isolate, ActionUsb));
      }
      break;

    case HW_DIAG_CLASS_PCH_PCIE:
      P = (D >= 1 && D <= mPchRootPortCount) ? mPchRootPortPlacement[D - 1] : 0;
      if ((P >> 4) == 3) {
        AsciiSPrint (Text, Size,
                     "Diagnosis succeeded. PCIe device (location is onboard NIC) connected to root port %d of the PCH failed.%a",
                     D, Sentence (Isolate, ActionPchPcie));
      } else if ((P >> 4) == 5) {
        AsciiSPrint (Text, Size,
                     "Diagnosis succeeded. PCIe device (location is M.2-SSD%d) connected to root port %d of the PCH failed.%a",
                     P - 0x50, D, Sentence (Isolate, ActionPchPcie));
      } else {
        AsciiSPrint (Text, Size, "Diagnosis succeeded. PCIe device connected to root port %d of the PCH failed.%a", D,
                     Sentence (Isolate, ActionPchPcie));
      }
      break;

    default:
      break;
  }
}

STATIC VOID
FillNotFoundText (
  IN OUT HW_DIAG_RESULT  *Record
  )
{
  CHAR8  *Text;
  UINTN  Size;
  UINT8  Top;
  UINT8  B1;
  UINT8  B0;
  UINT8  Third;
  UINTN  Row;
  CHAR8  Name[3];
  UINT8  Class;

  Text  = Record->Text;
  Size  = sizeof (Record->Text);
  B0    = (UINT8)Record->Info;
  B1    = (UINT8)(Record->Info >> 8);
  Third = (UINT8)(Record->Info >> 16);
  Top   = (UINT8)(Record->Info >> 24);

  if (Top == 0xFF && B1 == 0xF2) {
    AsciiSPrint (Text, Size, "Hardware Diagnosis Exception: RC Internal Fatal Error 0x%x 0x%x.", 0xF2, B0);
    return;
  }
  if (Top == 0xFF && B1 != 0) {
    AsciiSPrint (Text, Size, "Hardware Diagnosis Exception: Other Fatal Error 0x%x 0x%x.", B1, B0);
    return;
  }

  for (Row = 0; Row < mHwDiagFailTextCount; Row++) {
    if (mHwDiagFailText[Row].TopByte == Top && mHwDiagFailText[Row].ThirdByte == Third &&
        mHwDiagFailText[Row].Low16 == (UINT16)Record->Info) {
      AsciiSPrint (Text, Size, "%a", mHwDiagFailText[Row].Text);
      return;
    }
  }

  Class = Record->Kind & HW_DIAG_KIND_CLASS_MASK;
  if ((Record->Kind & HW_DIAG_KIND_PRECHECK_MASK) == HW_DIAG_KIND_PRECHECK_MINIMUM) {
    ZubRasHwDiagMemoryName ((UINT8)Record->Detail, Name);
    AsciiSPrint (Text, Size,
                 "Diagnosis pre-check: Minimum-configuration startup fails with CPU %d core %d and memory module %a. "
                 "Please check if the CPU, memory module, or motherboard fails and replace the failed component.",
                 Record->Owner, Record->Detail >> 8, Name);
  } else if (Class == HW_DIAG_CLASS_MEMORY && Record->Owner != 0) {
    AsciiSPrint (Text, Size, "Diagnosis failed. Memory module connected to CPU %d might have failed.", Record->Owner);
  } else if (Class == HW_DIAG_CLASS_IIO_PCIE && Record->Owner != 0) {
    AsciiSPrint (Text, Size, "Diagnosis failed. PCIe device connected to CPU %d might have failed.", Record->Owner);
  }
}

VOID
ZubRasHwDiagnoseFillResultInfo (
  IN OUT HW_DIAG_RESULT  *Record
  )
{
  if (Record == NULL) {
    DEBUG ((DEBUG_ERROR, "ZubRasHwDiagnoseFillResultInfo: pResultDyl is NULL\n"));
    return;
  }

  if ((Record->Kind & HW_DIAG_KIND_FOUND) != 0) {
    FillFoundText (Record);
  } else {
    FillNotFoundText (Record);
  }
}

STATIC VOID
BuildFound (
  IN     CONST DIAG_STATE  *State,
  IN OUT HW_DIAG_RESULT    *Record
  )
{
  UINT8  Slot;

  Record->Kind = HW_DIAG_KIND_FOUND;
  ApplyClassMap (State, Record);
  if (Record->Owner == 0) {
    Record->Owner = State->SubStep;
  }

  Record->Detail = State->TestIndex;
  if ((Record->Kind & HW_DIAG_KIND_CLASS_MASK) == HW_DIAG_CLASS_MEMORY) {
    if (State->TestIndex == 0xFE) {
      Record->Detail = HW_DIAG_DETAIL_PMEM;
    }
    if ((State->ExceptionFlags & ZUB_DIAG_EXCEPTION_PMEM_PRESENT) != 0) {
      Record->Detail |= HW_DIAG_DETAIL_PMEM;
    }
  }

  if ((Record->Kind & HW_DIAG_KIND_CLASS_MASK) == HW_DIAG_CLASS_IIO_PCIE) {
    Slot           = GetIioSlotNumberByIndex (State->TestIndex, Record->Owner);
    Record->Detail = (UINT16)((Record->Detail & 0x00FF) | ((UINT16)Slot << 8));
  }

  Record->Info = InfoFromBytes ((UINT8)Record->Detail, (UINT8)(Record->Detail >> 8), Record->Owner, Record->Kind);
}

STATIC VOID
BuildNotFound (
  IN     CONST DIAG_STATE  *State,
  IN OUT HW_DIAG_RESULT    *Record
  )
{
  Record->Kind = 0;
  if (State->Phase != 0) {
    ApplyClassMap (State, Record);
  } else if (State->Step == 0) {
    Record->Kind = HW_DIAG_KIND_PRECHECK_NORMAL;
  } else if (State->Step == 1) {
    Record->Kind   = HW_DIAG_KIND_PRECHECK_MINIMUM;
    Record->Owner  = 1;
    Record->Detail = (UINT16)(((State->SubStep * 16 + State->ExtInfo) << 8) | State->TestIndex);
  }

  if (Record->Owner == 0 && State->SubStep <= 2) {
    Record->Owner = State->SubStep;
  }

  if ((State->ExceptionFlags & ZUB_DIAG_EXCEPTION_RC_INTERNAL) != 0) {
    Record->Info = InfoFromBytes (State->ExceptionCode, 0xF2, 0x02, 0xFF);
  } else if ((State->ExceptionFlags & ZUB_DIAG_EXCEPTION_RC_OTHER) != 0) {
    Record->Info = InfoFromBytes ((UINT8)((State->ExtInfo << 4) | (State->ExceptionFlags >> 4)), State->ExceptionCode,
                                  0x01, 0xFF);
  } else if (State->ExceptionCode >= 1 && State->ExceptionCode <= 254) {
    Record->Info = InfoFromBytes (State->ExceptionCode, 0x00, 0x00, 0xFF);
  } else {
    Record->Info = InfoFromBytes ((UINT8)Record->Detail, (UINT8)(Record->Detail >> 8), Record->Owner, Record->Kind);
  }
}

EFI_STATUS
ZubRasHwDiagSendDyl (
  IN UINT32  Type
  )
{
  EFI_STATUS         Status;
  DIAG_STATE         State;
  UINT8              Marker;
  HW_DIAG_PROC_INFO  Progress;
  HW_DIAG_RESULT     Result;

  ReadState (&State);
  switch (Type) {
    case ZUB_DIAG_REPORT_START:
    case ZUB_DIAG_REPORT_END:
      Marker = (UINT8)Type;
      Status = DylReport (ZUB_DIAG_DYL_CLASS, 0, 0, &Marker, sizeof (Marker));
      break;

    case ZUB_DIAG_REPORT_PROGRESS:
      ZeroMem (&Progress, sizeof (Progress));
      TakeSnapshot (Progress.Snapshot);
      ZubRasHwDiagFillProcInfo (&Progress);
      Status = DylReport (ZUB_DIAG_DYL_CLASS, 1, 0, (UINT8 *)&Progress, sizeof (Progress));
      break;

    case ZUB_DIAG_REPORT_FOUND:
    case ZUB_DIAG_REPORT_NOT_FOUND:
      ZeroMem (&Result, sizeof (Result));
      if (Type == ZUB_DIAG_REPORT_FOUND) {
        BuildFound (&State, &Result);
      } else {
        BuildNotFound (&State, &Result);
      }
      TakeSnapshot (Result.Snapshot);
      ZubRasHwDiagnoseFillResultInfo (&Result);
      Status = DylReport (ZUB_DIAG_DYL_CLASS, 2, 0, (UINT8 *)&Result, sizeof (Result));
      break;

    default:
      Status = DylReport (ZUB_DIAG_DYL_CLASS, 0, 0, NULL, 0);
      break;
  }

  DEBUG ((DEBUG_ERROR, "ZubRasHwDiagSendDyl: TYPE: %d   status %r\n", Type, Status));
  return Status;
}
