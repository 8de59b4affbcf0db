#include "LpcBridge.h"

namespace zub {

LpcBridge::LpcBridge(const LpcBridgeConfig& config) : PciFunction(config.identity, 0) {
  setConfig(kGenericMemoryRange, 4, config.genericMemoryRange & (kRangeBaseMask | kRangeEnable));
  setWritable(kGenericMemoryRange, 4, kRangeBaseMask | kRangeEnable);
}

std::optional<uint32_t> LpcBridge::memoryWindow() const {
  uint32_t reg = genericMemoryRange();
  if (!(reg & kRangeEnable)) return std::nullopt;
  return reg & kRangeBaseMask;
}

}  // namespace zub
