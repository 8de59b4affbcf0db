/** @file
  Classification of log entries: the duplicate keys, the per-category checks that map a
  major warning code to a warning code and select the entries forwarded to the BMC, and
  the boot-stopping entries.
**/
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/PcdLib.h>
#include "WarnLogCheck.h"

//
// Once-per-boot UPI limits: one forwarded entry, one warning code.
//
UINT8  UpiReportCount;
UINT8  UpiWarningGiven;

STATIC UINT8 EwlMajor (IN CONST UINT8 *Entry) { return Entry[EWL_ENTRY_MAJOR_OFFSET]; }
STATIC UINT8 EwlMinor (IN CONST UINT8 *Entry) { return Entry[EWL_ENTRY_MINOR_OFFSET]; }

BOOLEAN
EwlCodeInList (
  IN UINT8        Major,
  IN CONST UINT8  *List,
  IN UINTN        Count
  )
{
  UINTN  Index;

  for (Index = 0; Index < Count; Index++) {
    if (List[Index] == Major) {
      return TRUE;
    }
  }

  return FALSE;
}

STATIC UINT16
EwlMapCode (
  IN CONST EWL_CODE_MAP  *Map,
  IN UINTN               Count,
  IN UINT8               Major
  )
{
  UINTN  Index;

  for (Index = 0; Index < Count; Index++) {
    if (EwlCodeInList (Major, Map[Index].Majors, Map[Index].MajorCount)) {
      return Map[Index].Code;
    }
  }

  return 0;
}

CONST EWL_CATEGORY_INFO *
EwlFindCategory (
  IN UINT8  Category
  )
{
  UINTN  Index;

  for (Index = 0; Index < mEwlCategoryCount; Index++) {
    if (mEwlCategories[Index].Category == Category) {
      return &mEwlCategories[Index];
    }
  }

  return NULL;
}

BOOLEAN
EwlTypeInCategory (
  IN UINT32                   Type,
  IN CONST EWL_CATEGORY_INFO  *Info
  )
{
  UINTN  Index;

  for (Index = 0; Index < Info->TypeCount; Index++) {
    if (Info->Types[Index] == Type) {
      return TRUE;
    }
  }

  return FALSE;
}

/**
  The layout of Key for an earlier entry of Category, or NULL where the category does not
  define the key. The Detail layout follows the earlier entry's type.
**/
STATIC CONST EWL_KEY_LAYOUT *
EwlKeyLayout (
  IN UINT8        Category,
  IN EWL_KEY      Key,
  IN CONST UINT8  *Earlier
  )
{
  UINT32  Type;

  switch (Key) {
    case EwlKeyCode:
      return &mEwlCodeKey;
    case EwlKeyLocation:
      return (Category == EWL_CATEGORY_MEMORY) ? &mEwlLocationKey : NULL;
    case EwlKeyDetail:
      Type = EwlEntryType (Earlier);
      if ((Category == EWL_CATEGORY_SPS) || (Category == EWL_CATEGORY_IE)) {
        return ((Type == 16) || (Type == 18)) ? &mEwlDetailKeyShort : &mEwlDetailKeyLong;
      }
      return (Category == EWL_CATEGORY_AWR) ? &mEwlDetailKeyAwr : NULL;
  }

  return NULL;
}

/**
  Key bytes are compared only where both entries hold them: an entry too short for a
  layout has no such key and matches nothing by it.
**/
STATIC BOOLEAN
EwlKeyEqual (
  IN CONST EWL_KEY_LAYOUT  *Layout,
  IN CONST UINT8           *Entry,
  IN CONST UINT8           *Earlier
  )
{
  UINTN  Index;

  if ((EwlEntrySize (Entry) < Layout->MinSize) || (EwlEntrySize (Earlier) < Layout->MinSize)) {
    return FALSE;
  }

  for (Index = 0; Index < Layout->FieldCount; Index++) {
    if (CompareMem (Entry + Layout->Fields[Index].Offset, Earlier + Layout->Fields[Index].Offset,
                    Layout->Fields[Index].Length) != 0) {
      return FALSE;
    }
  }

  return TRUE;
}

BOOLEAN
EwlIsDuplicate (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  IN UINT8          Category,
  IN EWL_KEY        Key
  )
{
  CONST EWL_CATEGORY_INFO  *Info;
  CONST EWL_KEY_LAYOUT     *Layout;
  CONST UINT8              *Earlier;
  UINT32                   Offset;

  Info = EwlFindCategory (Category);
  if ((Info == NULL) || (Info->TypeCount == 0)) {
    return FALSE;
  }

  for (Offset = 0; (Earlier = EwlEntryAt (Log, Offset)) != NULL; Offset += EwlEntrySize (Earlier)) {
    if (Earlier == Entry) {
      break;
    }
    if (!EwlTypeInCategory (EwlEntryType (Earlier), Info)) {
      continue;
    }
    Layout = EwlKeyLayout (Category, Key, Earlier);
    if ((Layout != NULL) && EwlKeyEqual (Layout, Entry, Earlier)) {
      return TRUE;
    }
  }

  return FALSE;
}

BOOLEAN
EwlIsBootStopping (
  IN CONST UINT8  *Entry
  )
{
  STATIC CONST UINT8  StopCodes[] = { 0x2A, 0xE8, 0xED };

  return EwlCodeInList (EwlMajor (Entry), StopCodes, sizeof (StopCodes)) ||
         ((EwlMajor (Entry) == 0x07) && (EwlMinor (Entry) == 0x15));
}

STATIC UINT8
EwlMemWarningKind (
  IN UINT16  Code
  )
{
  UINTN  Index;

  for (Index = 0; Index < mEwlMemWarningKindCount; Index++) {
    if (mEwlMemWarningKind[Index].Code == Code) {
      return mEwlMemWarningKind[Index].Kind;
    }
  }

  return mEwlOtherMemWarningKind;
}

VOID
EwlCheckMemory (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  if (!EwlIsDuplicate (Log, Entry, EWL_CATEGORY_MEMORY, EwlKeyCode)) {
    *Code = EwlMapCode (MEM_WARN_MAP, MEM_WARN_MAP_COUNT, EwlMajor (Entry));
    PcdSet8S (PcdZubMemWarningKind, EwlMemWarningKind (*Code));
  }

  if (!EwlIsDuplicate (Log, Entry, EWL_CATEGORY_MEMORY, EwlKeyLocation)) {
    EwlForwardEntry (Entry);
  }
}

VOID
EwlCheckUpi (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  if (!EwlIsDuplicate (Log, Entry, EWL_CATEGORY_UPI, EwlKeyCode)) {
    *Code = EwlMapCode (mEwlUpiMap, mEwlUpiMapCount, EwlMajor (Entry));
    if (UpiReportCount == 0) {
      EwlForwardEntry (Entry);
      UpiReportCount++;
    }
  }

  if (UpiWarningGiven != 0) {
    *Code = 0;
  } else if (*Code != 0) {
    UpiWarningGiven = 1;
  }
}

VOID
EwlCheckCpu (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  if (!EwlIsDuplicate (Log, Entry, EWL_CATEGORY_CPU, EwlKeyCode)) {
    *Code = 0x7001;
    EwlForwardEntry (Entry);
  }
}

STATIC VOID
EwlCheckEngine (
  IN CONST EWL_LOG       *Log,
  IN CONST UINT8         *Entry,
  IN UINT8               Category,
  IN CONST EWL_CODE_MAP  *Map,
  IN UINTN               MapCount,
  OUT UINT16             *Code
  )
{
  if (!EwlIsDuplicate (Log, Entry, Category, EwlKeyCode)) {
    *Code = EwlMapCode (Map, MapCount, EwlMajor (Entry));
  }

  if (!EwlIsDuplicate (Log, Entry, Category, EwlKeyDetail)) {
    EwlForwardEntry (Entry);
  }
}

VOID
EwlCheckSps (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  EwlCheckEngine (Log, Entry, EWL_CATEGORY_SPS, mEwlSpsMap, mEwlSpsMapCount, Code);
}

VOID
EwlCheckIe (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  EwlCheckEngine (Log, Entry, EWL_CATEGORY_IE, mEwlIeMap, mEwlIeMapCount, Code);
}

VOID
EwlCheckAwr (
  IN CONST EWL_LOG  *Log,
  IN CONST UINT8    *Entry,
  OUT UINT16        *Code
  )
{
  EwlCheckEngine (Log, Entry, EWL_CATEGORY_AWR, mEwlAwrMap, mEwlAwrMapCount, Code);
}
