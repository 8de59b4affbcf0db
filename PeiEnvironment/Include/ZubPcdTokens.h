/** @file
  Token numbers of the dynamic PCDs shared by every module of this firmware.

  The first group carries the platform's numbers; the rest are numbered by us from
  0x60 upward. The platform PCD database (the board) uses this same header, so one
  number names one PCD in every module.
**/
#ifndef ZUB_PCD_TOKENS_H_
#define ZUB_PCD_TOKENS_H_

#define PcdZubMemWarningKind_TOKEN          0x0E
#define PcdZubBootToSetup_TOKEN             0x11
#define PcdZubBmcDedicatedIpv4_TOKEN        0x12
#define PcdZubBmcDedicatedIpv6_TOKEN        0x13
#define PcdZubBmcDedicatedOnly_TOKEN        0x14
#define PcdZubBmcShareIpv4_TOKEN            0x15
#define PcdZubBmcShareIpv6_TOKEN            0x16
#define PcdZubBootMode_TOKEN                0x1B
#define PcdZubForceCleanLogoCache_TOKEN     0x1C
#define PcdZubCustomId_TOKEN                0x1D
#define PcdZubBmcBootOption_TOKEN           0x1E
#define PcdZubEarlyVgaMode_TOKEN            0x1F
#define PcdZubBiosExtVer_TOKEN              0x20
#define PcdZubHiddenVer_TOKEN               0x21
#define PcdZubBiosIntVer_TOKEN              0x22
#define PcdZubLpcCpldBase_TOKEN             0x23
#define PcdZubMoc15Slot_TOKEN               0x24
#define PcdZubOemFlag_TOKEN                 0x25
#define PcdZubBiosCode_TOKEN                0x29
#define PcdZubQuietBoot_TOKEN               0x2A
#define PcdZubHideLogo_TOKEN                0x2C
#define PcdZubXDragonSlot_TOKEN             0x31
#define PcdZubEvortEnable_TOKEN             0x32
#define PcdZubLogoUpdate_TOKEN              0x3A
#define PcdZubEwlIncludeCode30_TOKEN        0x3E
#define PcdZubLastWarningCode_TOKEN         0x40
#define PcdZubVgaMmioBase_TOKEN             0x42
#define PcdZubVgaTextRow_TOKEN              0x43
#define PcdZubVgaBmcInfoRow_TOKEN           0x44
#define PcdZubVgaWarningShown_TOKEN         0x45
#define PcdZubMemTestPercent_TOKEN          0x46
#define PcdZubVgaMemoryBase_TOKEN           0x47
#define PcdZubVgaMemorySize_TOKEN           0x48
#define PcdZubVgaPciAddress_TOKEN           0x49
#define PcdZubProgressCount_TOKEN           0x4A

// Setup-default override.
#define PcdZubHwId0_TOKEN                   0x60
#define PcdZubHwId1_TOKEN                   0x61
#define PcdZubHwId2_TOKEN                   0x62
#define PcdZubHwId3_TOKEN                   0x63
#define PcdZubResetRequest_TOKEN            0x64

// Boot mode selection.
#define PcdZubBootInfoAck_TOKEN             0x68
#define PcdZubIpmiBootFlags_TOKEN           0x69

// Debug log capture.
#define PcdZubLogBufferBase_TOKEN           0x70
#define PcdZubLogBufferSize_TOKEN           0x71
#define PcdZubLogDate_TOKEN                 0x72
#define PcdZubLogTime_TOKEN                 0x73
#define PcdZubMiscCfg0_TOKEN                0x74
#define PcdZubMiscCfg1_TOKEN                0x75
#define PcdZubMiscCfg4_TOKEN                0x76

// VGA-memory volatile store.
#define PcdZubVolatileData0_TOKEN           0x78
#define PcdZubVolatileData1_TOKEN           0x79
#define PcdZubVolatileData2_TOKEN           0x7A
#define PcdZubVolatileData3_TOKEN           0x7B

// IIO platform hooks.
#define PcdIioHookPortIndex_TOKEN           0x80

// Platform.
#define PcdPciExpressBaseAddress_TOKEN      0x88

#endif
