/** @file
  The PEI debug-log window: its header at the window base, the hand-over HOB created at
  the end of PEI, and the option variable ZubMiscCfg.
**/
#ifndef ZUB_LOG_WINDOW_H_
#define ZUB_LOG_WINDOW_H_

#include <PiPei.h>

#define LOG_RECORD_SIGNATURE  0x1BAEF862u

#pragma pack(push, 1)
typedef struct {
  UINT32  Signature;
  UINT32  Reserved0;      // left for the log writer
  UINT32  Base;
  UINT32  Length;
  UINT32  Date;           // year << 16 | month << 8 | day
  UINT32  Time;           // hour << 16 | minute << 8 | second
  UINT8   Reserved1[20];  // left for the log writer
} LOG_RECORD_HEADER;

typedef struct {
  UINT32  Base;
  UINT32  Length;
  UINT32  Date;
  UINT32  Time;
} ZUB_LOG_HOB_DATA;
#pragma pack(pop)

STATIC_ASSERT (sizeof (LOG_RECORD_HEADER) == 44, "the window header is 44 bytes");
STATIC_ASSERT (sizeof (ZUB_LOG_HOB_DATA) == 16, "the hand-over HOB carries 16 bytes");

#define ZUB_MISC_CFG_VARIABLE_NAME  u"ZubMiscCfg"
#define ZUB_MISC_CFG_SIZE           11

extern EFI_GUID gZubLogHobGuid;
extern EFI_GUID gZubMiscCfgVariableGuid;

#endif
