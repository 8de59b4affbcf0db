/** @file
  The enhanced warning log in the reference code's host data, and the diagnosis mode
  byte in CMOS.

  The log belongs to the reference code and is read as untrusted data: the used size
  counts the bytes of entries from the first entry, and is bounded by the log area that
  ends at the memory warning byte. An entry is walked only when its fixed fields and its
  whole size lie inside the used size; anything else ends the walk.
**/
#include <Library/BaseLib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <RefCode/RcHostPointerTable.h>
#include <RefCode/RcSysHost.h>
#include "WarnLogCheck.h"

#define CMOS_INDEX_PORT      0x70
#define CMOS_DATA_PORT       0x71
#define ZUB_DIAG_CMOS_MODE   0x74

#define EWL_AREA_SIZE  (RC_SYSHOST_EWL_AREA_END_OFFSET - RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET)

STATIC_ASSERT (RC_SYSHOST_EWL_AREA_END_OFFSET < RC_SYSHOST_SIZE, "the log area lies inside the host data");
STATIC_ASSERT (RC_SYSHOST_MEM_WARNING_OFFSET < RC_SYSHOST_SIZE, "the memory warning byte lies inside the host data");

/**
  The host data is the first pointer of the reference code's pointer table, whose address
  the reference code leaves in MMX register 7.
**/
STATIC UINT8 *
EwlGetSysHost (
  VOID
  )
{
  CONST RC_HOST_POINTER_TABLE  *Table;

  Table = (CONST RC_HOST_POINTER_TABLE *)(UINTN)AsmReadMm7 ();
  if ((Table == NULL) || (Table->Signature != RC_HOST_POINTER_TABLE_SIGNATURE)) {
    return NULL;
  }

  return (UINT8 *)(UINTN)Table->SysHost;
}

BOOLEAN
EwlGetLog (
  OUT EWL_LOG  *Log
  )
{
  UINT32  Used;

  Log->SysHost = EwlGetSysHost ();
  if (Log->SysHost == NULL) {
    return FALSE;
  }

  Log->FirstEntry = Log->SysHost + RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET;
  Used = ReadUnaligned32 (Log->SysHost + RC_SYSHOST_EWL_USED_SIZE_OFFSET);
  if (Used > EWL_AREA_SIZE) {
    DEBUG ((DEBUG_ERROR, "EWL used size 0x%x runs past the log area, bounded to 0x%x\n", Used, EWL_AREA_SIZE));
    Used = EWL_AREA_SIZE;
  }

  Log->Used = Used;
  return TRUE;
}

UINT32 EwlEntryType (IN CONST UINT8 *Entry) { return ReadUnaligned32 (Entry + EWL_ENTRY_TYPE_OFFSET); }
UINT16 EwlEntrySize (IN CONST UINT8 *Entry) { return ReadUnaligned16 (Entry + EWL_ENTRY_SIZE_OFFSET); }

/**
  The entry at Offset, or NULL when the walk ends there: at the end of the used size, at
  an entry shorter than its fixed fields (a size of 0 among them), or at one that runs past
  the used size.
**/
CONST UINT8 *
EwlEntryAt (
  IN CONST EWL_LOG  *Log,
  IN UINT32         Offset
  )
{
  CONST UINT8  *Entry;
  UINT16       Size;

  if ((Offset >= Log->Used) || (Log->Used - Offset < EWL_ENTRY_FIXED_SIZE)) {
    return NULL;
  }

  Entry = Log->FirstEntry + Offset;
  Size  = EwlEntrySize (Entry);
  if ((Size < EWL_ENTRY_FIXED_SIZE) || (Size > Log->Used - Offset)) {
    DEBUG ((DEBUG_ERROR, "EWL entry at 0x%x has size 0x%x, walk ends\n", Offset, Size));
    return NULL;
  }

  return Entry;
}

UINT8
ZubHWDiagGetMode (
  VOID
  )
{
  UINT8  Data8;

  IoWrite8 (CMOS_INDEX_PORT, ZUB_DIAG_CMOS_MODE);
  Data8 = IoRead8 (CMOS_DATA_PORT);
  DEBUG ((DEBUG_INFO, "ZubHWDiagGetMode  Data8: %x\n", Data8));
  return Data8;
}
