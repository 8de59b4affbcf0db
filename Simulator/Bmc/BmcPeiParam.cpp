#include "BmcPeiParam.h"

#include <algorithm>

#include "Machine/MemoryMap.h"

namespace zub {

std::vector<uint8_t> bmcPeiParamBytes(const BmcPeiParamConfig& p) {
  std::vector<uint8_t> b(kBmcPeiParamSize, 0);
  auto u32 = [&](size_t at, uint32_t v) { storeLe(b.data() + at, 4, v); };
  auto text = [&](size_t at, size_t width, const std::string& s) {
    std::copy_n(s.begin(), std::min(width, s.size()), b.begin() + at);
  };
  u32(0x00, p.oemFlag);
  u32(0x04, p.checkArea);
  u32(0x08, p.customId);
  u32(0x0C, p.forceCleanLogoCache);
  u32(0x10, p.netIfMode);
  text(0x14, kIpv4Field, p.dedicatedIpv4);
  text(0x24, kIpv6Field, p.dedicatedIpv6);
  text(0x64, kIpv4Field, p.shareIpv4);
  text(0x74, kIpv6Field, p.shareIpv6);
  u32(0xB4, p.xDragonSlot);
  u32(0xB8, p.moc15Slot);
  b.resize(std::min<size_t>(p.dataLength, kBmcPeiParamSize));
  return b;
}

}  // namespace zub
