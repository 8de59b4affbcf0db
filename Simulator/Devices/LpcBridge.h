// The PCH's LPC bridge at 0:1F.0 (ISA bridge, class 0x060100) with the LPC generic
// memory range register at 0x98, laid out like the PCH's LGMR: bit 0 enables the range,
// bits 31:16 give its 64 KB-aligned base, bits 15:1 are reserved (read 0). While enabled
// the PCH forwards memory cycles of [base, base + 64 KB) to the LPC bus.
#pragma once
#include <cstdint>
#include <optional>

#include "PciFunction.h"

namespace zub {

struct LpcBridgeConfig {
  PciIdentity identity{0x8086, 0xA1C1, 0x060100, 0x09};
  uint32_t genericMemoryRange = 0;   // reset value of 0x98
};

class LpcBridge : public PciFunction {
public:
  static constexpr uint16_t kGenericMemoryRange = 0x98;
  static constexpr uint32_t kRangeEnable = 0x1, kRangeBaseMask = 0xFFFF0000;
  static constexpr uint32_t kRangeSize = 0x10000;

  explicit LpcBridge(const LpcBridgeConfig& config);

  uint32_t genericMemoryRange() const { return configRead(kGenericMemoryRange, 4); }
  // The window's base while enabled.
  std::optional<uint32_t> memoryWindow() const;
  bool memoryWindowOpen(uint32_t base) const { return memoryWindow() == (base & kRangeBaseMask); }
};

}  // namespace zub
