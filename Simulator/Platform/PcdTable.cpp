// Every dynamic PCD of the platform, as data: token, name, type, storage, default.
#include <ZubPcdTokens.h>

#include "PcdDatabase.h"

namespace zub {

#define PCD(Name, Type, Max, Default, Text) {Name##_TOKEN, #Name, PcdType::Type, Max, Default, Text}

const std::vector<PcdDefinition>& pcdDefinitions() {
  static const std::vector<PcdDefinition> table = {
      PCD(PcdZubMemWarningKind, U8, 0, 0, nullptr),
      PCD(PcdZubBootToSetup, U8, 0, 0, nullptr),
      PCD(PcdZubBmcDedicatedIpv4, Ptr, 16, 0, ""),
      PCD(PcdZubBmcDedicatedIpv6, Ptr, 64, 0, ""),
      PCD(PcdZubBmcDedicatedOnly, U8, 0, 0, nullptr),
      PCD(PcdZubBmcShareIpv4, Ptr, 16, 0, ""),
      PCD(PcdZubBmcShareIpv6, Ptr, 64, 0, ""),
      PCD(PcdZubBootMode, U8, 0, 0, nullptr),
      PCD(PcdZubForceCleanLogoCache, U8, 0, 0, nullptr),
      PCD(PcdZubCustomId, U8, 0, 0, nullptr),
      PCD(PcdZubBmcBootOption, U32, 0, 0, nullptr),
      PCD(PcdZubEarlyVgaMode, U8, 0, 0, nullptr),
      PCD(PcdZubBiosExtVer, Ptr, 32, 0, ""),
      PCD(PcdZubHiddenVer, Ptr, 32, 0, ""),
      PCD(PcdZubBiosIntVer, Ptr, 32, 0, ""),
      PCD(PcdZubLpcCpldBase, U32, 0, 0xFE000000, nullptr),
      PCD(PcdZubMoc15Slot, U32, 0, 0, nullptr),
      PCD(PcdZubOemFlag, U8, 0, 0, nullptr),
      PCD(PcdZubBiosCode, Ptr, 32, 0, ""),
      PCD(PcdZubQuietBoot, U8, 0, 0, nullptr),
      PCD(PcdZubHideLogo, U8, 0, 0, nullptr),
      PCD(PcdZubXDragonSlot, U32, 0, 0, nullptr),
      PCD(PcdZubEvortEnable, U8, 0, 0, nullptr),
      PCD(PcdZubLogoUpdate, U8, 0, 0, nullptr),
      PCD(PcdZubEwlIncludeCode30, U8, 0, 0, nullptr),
      PCD(PcdZubLastWarningCode, U32, 0, 0, nullptr),
      PCD(PcdZubVgaMmioBase, U32, 0, 0, nullptr),
      PCD(PcdZubVgaTextRow, U16, 0, 12, nullptr),
      PCD(PcdZubVgaBmcInfoRow, U16, 0, 0, nullptr),
      PCD(PcdZubVgaWarningShown, Bool, 0, 0, nullptr),
      PCD(PcdZubMemTestPercent, U8, 0, 0, nullptr),
      PCD(PcdZubVgaMemoryBase, U32, 0, 0, nullptr),
      PCD(PcdZubVgaMemorySize, U32, 0, 0, nullptr),
      PCD(PcdZubVgaPciAddress, U32, 0, 0, nullptr),
      PCD(PcdZubProgressCount, U32, 0, 0, nullptr),
      PCD(PcdZubHwId0, U8, 0, 0, nullptr),
      PCD(PcdZubHwId1, U8, 0, 0, nullptr),
      PCD(PcdZubHwId2, U8, 0, 0, nullptr),
      PCD(PcdZubHwId3, U8, 0, 0, nullptr),
      PCD(PcdZubResetRequest, U8, 0, 0, nullptr),
      PCD(PcdZubBootInfoAck, Ptr, 5, 0, nullptr),
      PCD(PcdZubIpmiBootFlags, Ptr, 8, 0, nullptr),
      PCD(PcdZubLogBufferBase, U32, 0, 0, nullptr),
      PCD(PcdZubLogBufferSize, U32, 0, 0, nullptr),
      PCD(PcdZubLogDate, U32, 0, 0, nullptr),
      PCD(PcdZubLogTime, U32, 0, 0, nullptr),
      PCD(PcdZubMiscCfg0, U8, 0, 0, nullptr),
      PCD(PcdZubMiscCfg1, U8, 0, 0, nullptr),
      PCD(PcdZubMiscCfg4, U8, 0, 0, nullptr),
      PCD(PcdZubVolatileData0, U32, 0, 0, nullptr),
      PCD(PcdZubVolatileData1, U32, 0, 0, nullptr),
      PCD(PcdZubVolatileData2, U32, 0, 0, nullptr),
      PCD(PcdZubVolatileData3, U32, 0, 0, nullptr),
      PCD(PcdIioHookPortIndex, U8, 0, 0xFF, nullptr),
      PCD(PcdPciExpressBaseAddress, U64, 0, 0x80000000, nullptr),
  };
  return table;
}

}  // namespace zub
