/** @file
  FaultIsolatePei: the diagnosis record in CMOS (0x73-0x79), the CPLD read path through
  the LPC generic memory window, the state machine and its DYL reports.
**/
#ifndef FAULT_ISOLATE_H_
#define FAULT_ISOLATE_H_

#include <PiPei.h>

//
// Diagnosis record, standard CMOS bank.
//
#define ZUB_DIAG_CMOS_FLAGS           0x73
#define ZUB_DIAG_CMOS_MODE            0x74
#define ZUB_DIAG_CMOS_PHASE_STEP      0x75
#define ZUB_DIAG_CMOS_SUBSTEP         0x76
#define ZUB_DIAG_CMOS_TEST_INDEX      0x77
#define ZUB_DIAG_CMOS_EXCEPTION_FLAGS 0x78
#define ZUB_DIAG_CMOS_EXCEPTION_CODE  0x79
#define ZUB_DIAG_CMOS_SNAPSHOT_SIZE   10

#define ZUB_DIAG_FLAG_BOOT_SUCCESS           BIT0
#define ZUB_DIAG_FLAG_OUTSIDE                BIT1
#define ZUB_DIAG_FLAG_IN_MEMORY_INIT         BIT4
#define ZUB_DIAG_FLAG_WARM_RESET_IN_MEM_INIT BIT6

#define ZUB_DIAG_MODE_MINIMUM_BOOT  BIT0
#define ZUB_DIAG_MODE_HW_DIAG       BIT1

#define ZUB_DIAG_EXCEPTION_RC_INTERNAL  BIT1
#define ZUB_DIAG_EXCEPTION_RC_OTHER     BIT2
#define ZUB_DIAG_EXCEPTION_PMEM_PRESENT BIT3

//
// CPLD registers behind the LPC window at PcdZubLpcCpldBase.
//
#define ZUB_CPLD_REQUEST            0x13
#define ZUB_CPLD_REQUEST_MIN_BOOT   BIT0
#define ZUB_CPLD_REQUEST_HW_DIAG    BIT1
#define ZUB_CPLD_REQUEST_ISOLATE    BIT2
#define ZUB_CPLD_SLOT_FIRST         0x140
#define ZUB_CPLD_SLOT_LAST          0x15F
#define ZUB_NO_SLOT                 0xFF

#define ZUB_DIAG_RESET_DELAY_US     30000000u

//
// DYL reports of the module.
//
#define ZUB_DIAG_DYL_CLASS          0x0A
#define ZUB_DIAG_REPORT_START       1
#define ZUB_DIAG_REPORT_END         2
#define ZUB_DIAG_REPORT_PROGRESS    3
#define ZUB_DIAG_REPORT_FOUND       4
#define ZUB_DIAG_REPORT_NOT_FOUND   5

#define HW_DIAG_PROC_TEXT_SIZE      222
#define HW_DIAG_RESULT_TEXT_SIZE    214

#define HW_DIAG_KIND_FOUND          0x80
#define HW_DIAG_KIND_PRECHECK_NORMAL  0x10
#define HW_DIAG_KIND_PRECHECK_MINIMUM 0x20
#define HW_DIAG_KIND_PRECHECK_MASK  0x70
#define HW_DIAG_KIND_CLASS_MASK     0x0F

#define HW_DIAG_CLASS_CPU           1
#define HW_DIAG_CLASS_MEMORY        2
#define HW_DIAG_CLASS_IIO_PCIE      3
#define HW_DIAG_CLASS_PCH           4
#define HW_DIAG_CLASS_SATA          5
#define HW_DIAG_CLASS_SSATA         6
#define HW_DIAG_CLASS_USB           7
#define HW_DIAG_CLASS_PCH_PCIE      8

#define HW_DIAG_DETAIL_PMEM         0x8000

#pragma pack(push, 1)
typedef struct {
  UINT8  Snapshot[ZUB_DIAG_CMOS_SNAPSHOT_SIZE];
  CHAR8  Text[HW_DIAG_PROC_TEXT_SIZE];
} HW_DIAG_PROC_INFO;

typedef struct {
  UINT8   Kind;
  UINT8   Owner;
  UINT16  Detail;
  UINT32  Info;
  UINT8   Snapshot[ZUB_DIAG_CMOS_SNAPSHOT_SIZE];
  CHAR8   Text[HW_DIAG_RESULT_TEXT_SIZE];
} HW_DIAG_RESULT;
#pragma pack(pop)

static_assert (sizeof (HW_DIAG_PROC_INFO) == 232, "progress payload is 232 bytes");
static_assert (sizeof (HW_DIAG_RESULT) == 232, "result payload is 232 bytes");

//
// Board tables (DiagTables.cpp).
//
typedef struct {
  UINT8  Step;
  UINT8  SubStep;
  UINT8  AnySubStep;
  UINT8  Class;
  UINT8  Owner;
} HW_DIAG_CLASS_MAP;

typedef struct {
  UINT8        Phase;
  UINT8        Step;
  UINT8        SubStep;
  CONST CHAR8  *Text;
  CONST CHAR8  *Suffix;
} HW_DIAG_STATUS_TEXT;

typedef struct {
  UINT8        TopByte;
  UINT8        ThirdByte;
  UINT16       Low16;
  CONST CHAR8  *Text;
} HW_DIAG_FAIL_TEXT;

typedef struct {
  UINT8  Kind;
  UINT8  Connection;
  CHAR8  Code[5];       // fixed width, not NUL-terminated
} HW_DIAG_USB_LOCATION;

extern CONST HW_DIAG_CLASS_MAP     mHwDiagClassMap[];
extern CONST UINTN                 mHwDiagClassMapCount;
extern CONST HW_DIAG_STATUS_TEXT   mHwDiagStatusText[];
extern CONST UINTN                 mHwDiagStatusTextCount;
extern CONST HW_DIAG_FAIL_TEXT     mHwDiagFailText[];
extern CONST UINTN                 mHwDiagFailTextCount;
extern CONST UINT8                 mPchRootPortPlacement[];
extern CONST UINTN                 mPchRootPortCount;
extern CONST UINT8                 mSsataPortPlacement[];
extern CONST UINTN                 mSsataPortCount;
extern CONST HW_DIAG_USB_LOCATION  mUsbLocation[];
extern CONST UINTN                 mUsbPortCount;

typedef enum {
  ActionCpuCore,
  ActionCpu,
  ActionMemory,
  ActionMemoryWithPmem,
  ActionNvdimm,
  ActionSlot,
  ActionPort,
  ActionUsb,
  ActionPchPcie,
  ActionCount
} HW_DIAG_ACTION;

extern CONST CHAR8  *CONST  mHwDiagActionSentence[ActionCount];

//
// CMOS record (DiagCmos.cpp).
//
UINT8 ZubDiagCmosRead (IN UINT8 Index);
VOID  ZubDiagCmosWrite (IN UINT8 Index, IN UINT8 Value);
UINT8 ZubHWDiagGetPhase (VOID);
UINT8 ZubHWDiagGetStep (VOID);
UINT8 ZubHWDiagGetSubStep (VOID);
UINT8 ZubHWDiagGetSubStepExtInfo (VOID);
VOID  ZubHWDiagSetPhase (IN UINT8 Phase);
VOID  ZubHWDiagSetStep (IN UINT8 Step);
VOID  ZubHWDiagSetSubStep (IN UINT8 SubStep);
VOID  ZubHWDiagSetSubStepExtInfo (IN UINT8 Info);
UINT8 ZubHWDiagGetMode (VOID);
VOID  ZubHWDiagSetMode (IN INT32 Bits);
VOID  ZubHWDiagClearMode (IN UINT8 Bits);
VOID  ZubHWDiagClearFlags (IN UINT8 Bits);
VOID  ZubHWDiagClearAll (VOID);
VOID  ZubHwDiagDumpCMOSReg (VOID);
UINT8 ZubHWDiagReadCmos (IN UINT8 Offset);

//
// Hardware helpers (DiagHardware.cpp).
//
UINT32     ZubRasGetPciAddress (IN UINT8 Device, IN UINT8 Function);
EFI_STATUS ZubRasPchPcrWrite32 (IN UINT32 Offset, IN UINT32 Value);
EFI_STATUS ZubRasLpcMemWindow (IN BOOLEAN Enable);
UINT8      ZubRasHwDiagnoseLpcReadCpldData8 (IN UINT32 Offset);
UINT8      ZubRasHwDiagReadCpldRequest (VOID);
UINT8      GetIioSlotNumberByIndex (IN UINT8 Port, IN UINT8 Socket);
[[noreturn]] VOID ZubHwDiagDoColdReset (VOID);
[[noreturn]] VOID ZubHwDiagDelayedColdReset (VOID);

//
// State machine (DiagStateMachine.cpp).
//
BOOLEAN ZubRasEarlyValidateHwDiagData (VOID);
BOOLEAN ZubRasHwDiagnoseCheckExceptionInfo (VOID);
VOID    ZubRasHwDiagnoseCheckHwMain (VOID);
BOOLEAN ZubRasHwDiagValidatePhaseStep (VOID);
VOID    ZubRasHwDiagnoseSetMinimumBoot (VOID);
[[noreturn]] VOID ZubRasHwDiagFound (VOID);
[[noreturn]] VOID ZubRasHwDiagTerminate (VOID);

//
// Reports and screen (DiagReports.cpp, DiagScreen.cpp).
//
EFI_STATUS ZubRasHwDiagSendDyl (IN UINT32 Type);
VOID       ZubRasHwDiagFillProcInfo (IN OUT HW_DIAG_PROC_INFO *Record);
VOID       ZubRasHwDiagnoseFillResultInfo (IN OUT HW_DIAG_RESULT *Record);
VOID       ZubRasHwDiagMemoryName (IN UINT8 Index, OUT CHAR8 Name[3]);
VOID       ZubRasHwDiagIioPortName (IN UINT8 Index, OUT CHAR8 Name[3]);
VOID       FaultIsolatePeiShowString (VOID);

#endif
