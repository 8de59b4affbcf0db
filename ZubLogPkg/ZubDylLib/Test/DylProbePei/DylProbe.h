/** @file
  Test-only PPI of the probe image: the library's routines as linked into a module.
**/
#ifndef ZUB_DYL_PROBE_H_
#define ZUB_DYL_PROBE_H_

#include <Library/ZubDylLib.h>

typedef struct {
  EFI_STATUS (EFIAPI *DylReport)(UINT8 Class, UINT8 SClass, UINT8 SSClass, CONST UINT8 *Data, UINT8 DataLength);
  EFI_STATUS (EFIAPI *SendDylMsgWorker)(UINT8 *Message, UINT8 Length);
  EFI_STATUS (EFIAPI *DylGetTimeStamp)(UINT32 *Seconds);
  EFI_STATUS (EFIAPI *RtcReadTime)(EFI_TIME *Time);
} ZUB_DYL_PROBE_PPI;

extern EFI_GUID gZubDylProbePpiGuid;

#endif
