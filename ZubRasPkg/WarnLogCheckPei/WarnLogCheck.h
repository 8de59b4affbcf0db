/** @file
  WarnLogCheckPei: the reference code's enhanced warning log (EWL) checked at the check
  points other firmware announces; entries become warning lines on the early console,
  DYL reports to the BMC and, for the boot-stopping ones, a halt.
**/
#ifndef WARN_LOG_CHECK_H_
#define WARN_LOG_CHECK_H_

#include <PiPei.h>

#define EWL_CHECK_POINT_STATUS      0x03020008u

//
// Categories, as the check-point names select them.
//
#define EWL_CATEGORY_MEMORY         0
#define EWL_CATEGORY_UPI            1
#define EWL_CATEGORY_CPU            2
#define EWL_CATEGORY_IIO            3
#define EWL_CATEGORY_SPS            6
#define EWL_CATEGORY_IE             7
#define EWL_CATEGORY_AWR            8

//
// Fields of a log entry used here. Entries are packed back to back, so every field is
// read unaligned.
//
#define EWL_ENTRY_TYPE_OFFSET       0
#define EWL_ENTRY_SIZE_OFFSET       4
#define EWL_ENTRY_MAJOR_OFFSET      12
#define EWL_ENTRY_MINOR_OFFSET      13
#define EWL_ENTRY_FIXED_SIZE        14      // type, size and the two warning codes

#define EWL_MAJOR_CODE_30           0x30

#define EWL_FORWARD_PAYLOAD_SIZE    107
#define EWL_DYL_CLASS_ENTRY         5
#define EWL_DYL_CLASS_HANG          9

typedef enum {
  EwlKeyCode,
  EwlKeyLocation,
  EwlKeyDetail
} EWL_KEY;

//
// The log as this reference code version places it in its host data. Used is already
// bounded by the log area.
//
typedef struct {
  UINT8   *SysHost;
  UINT8   *FirstEntry;
  UINT32  Used;
} EWL_LOG;

typedef struct {
  UINT8   Offset;
  UINT8   Length;
} EWL_KEY_FIELD;

typedef struct {
  CONST EWL_KEY_FIELD  *Fields;
  UINTN                FieldCount;
  UINT8                MinSize;      // the entry must hold every field
} EWL_KEY_LAYOUT;

typedef VOID (*EWL_CHECK_ENTRY)(IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);

typedef struct {
  UINT8            Category;
  CONST UINT32     *Types;
  UINTN            TypeCount;
  EWL_CHECK_ENTRY  Check;            // NULL: the category classifies nothing
} EWL_CATEGORY_INFO;

typedef struct {
  CONST CHAR8  *Name;
  UINT8        Category;
} EWL_CHECK_POINT;

typedef struct {
  UINT16       Code;
  CONST UINT8  *Majors;
  UINTN        MajorCount;
} EWL_CODE_MAP;

typedef struct {
  UINT16  Code;
  UINT8   Kind;
} EWL_MEM_WARNING_KIND;

//
// Tables (EwlTables.cpp).
//
extern CONST EWL_CHECK_POINT       mEwlCheckPoints[];
extern CONST UINTN                 mEwlCheckPointCount;
extern CONST EWL_CATEGORY_INFO     mEwlCategories[];
extern CONST UINTN                 mEwlCategoryCount;
extern CONST EWL_CODE_MAP          MEM_WARN_MAP[];
extern CONST UINTN                 MEM_WARN_MAP_COUNT;
extern CONST EWL_CODE_MAP          mEwlUpiMap[];
extern CONST UINTN                 mEwlUpiMapCount;
extern CONST EWL_CODE_MAP          mEwlSpsMap[];
extern CONST UINTN                 mEwlSpsMapCount;
extern CONST EWL_CODE_MAP          mEwlIeMap[];
extern CONST UINTN                 mEwlIeMapCount;
extern CONST EWL_CODE_MAP          mEwlAwrMap[];
extern CONST UINTN                 mEwlAwrMapCount;
extern CONST EWL_MEM_WARNING_KIND  mEwlMemWarningKind[];
extern CONST UINTN                 mEwlMemWarningKindCount;
extern CONST UINT8                 mEwlOtherMemWarningKind;
extern CONST EWL_KEY_LAYOUT        mEwlCodeKey;
extern CONST EWL_KEY_LAYOUT        mEwlLocationKey;
extern CONST EWL_KEY_LAYOUT        mEwlDetailKeyShort;
extern CONST EWL_KEY_LAYOUT        mEwlDetailKeyLong;
extern CONST EWL_KEY_LAYOUT        mEwlDetailKeyAwr;

//
// The log in the host data (EwlLog.cpp).
//
BOOLEAN            EwlGetLog (OUT EWL_LOG *Log);
CONST UINT8        *EwlEntryAt (IN CONST EWL_LOG *Log, IN UINT32 Offset);
UINT32             EwlEntryType (IN CONST UINT8 *Entry);
UINT16             EwlEntrySize (IN CONST UINT8 *Entry);
UINT8              ZubHWDiagGetMode (VOID);

//
// Classification (EwlClassify.cpp). The per-entry checks forward the entries they select.
//
CONST EWL_CATEGORY_INFO *EwlFindCategory (IN UINT8 Category);
BOOLEAN EwlCodeInList (IN UINT8 Major, IN CONST UINT8 *List, IN UINTN Count);
BOOLEAN EwlTypeInCategory (IN UINT32 Type, IN CONST EWL_CATEGORY_INFO *Info);
BOOLEAN EwlIsDuplicate (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, IN UINT8 Category, IN EWL_KEY Key);
BOOLEAN EwlIsBootStopping (IN CONST UINT8 *Entry);
VOID    EwlCheckMemory (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckUpi (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckCpu (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckSps (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckIe (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckAwr (IN CONST EWL_LOG *Log, IN CONST UINT8 *Entry, OUT UINT16 *Code);
VOID    EwlCheckCategory (IN UINT8 Category);

//
// Display and reports (EwlReport.cpp).
//
VOID       EwlShowCode (IN UINT32 Code, IN OUT UINT8 *PassCodeCount);
EFI_STATUS EwlDrawWarning (IN UINT32 Code);
VOID       EwlForwardEntry (IN CONST UINT8 *Entry);
EFI_STATUS ZubSendSysFirmwareHangeDyl (VOID);

#endif
