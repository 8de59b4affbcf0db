/** @file
  BMC_PEI_PARAM: the block the BMC answers to the quick-transfer command
  QUICK_TRANS_CMD_GET_PEI_PARAM. Strings are ASCII, NUL-terminated within their fields
  when shorter than them.
**/
#ifndef ZUB_BMC_PEI_PARAM_H_
#define ZUB_BMC_PEI_PARAM_H_

#include <Uefi/UefiBaseType.h>

#pragma pack(push, 1)
typedef struct {
  UINT32  OemFlag;
  UINT32  CheckArea;
  UINT32  CustomID;
  UINT32  ForceCleanLogoCache;
  UINT32  NetIfMode;
  CHAR8   DedicatedIPv4Addr[16];
  CHAR8   DedicatedIPv6Addr[64];
  CHAR8   ShareIPv4Addr[16];
  CHAR8   ShareIPv6Addr[64];
  UINT32  XDragonSlot;
  UINT32  Moc15Slot;
} BMC_PEI_PARAM;
#pragma pack(pop)

static_assert (sizeof (BMC_PEI_PARAM) == 188, "BMC_PEI_PARAM is 188 bytes");
static_assert (OFFSET_OF (BMC_PEI_PARAM, XDragonSlot) == 0xB4, "XDragonSlot at 0xB4");

#define BMC_NET_IF_DEDICATED_AND_SHARED  0
#define BMC_NET_IF_DEDICATED_ONLY        1

#endif
