// The BMC's PEI parameter block (BMC_PEI_PARAM, 188 bytes, little-endian), as the board
// file describes it. The BMC answers the first dataLength bytes of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zub {

struct BmcPeiParamConfig {
  uint32_t oemFlag = 0, checkArea = 0, customId = 0, forceCleanLogoCache = 0, netIfMode = 0;
  std::string dedicatedIpv4, dedicatedIpv6, shareIpv4, shareIpv6;   // at most the field width
  uint32_t xDragonSlot = 0, moc15Slot = 0;
  uint32_t dataLength = 188;                                        // bytes answered, at most 188
};

constexpr size_t kBmcPeiParamSize = 188;
constexpr size_t kIpv4Field = 16, kIpv6Field = 64;

// The answered bytes: the block cut to dataLength. A string as wide as its field has no NUL.
std::vector<uint8_t> bmcPeiParamBytes(const BmcPeiParamConfig& p);

}  // namespace zub
