// The root complex at 0:0.0 (host bridge, class 0x060000). Its extended 16-bit register
// at 0x108 ("ROOTBUS_1_0_0_CFG") has bit 15, the root bus 1 decode bit, writable; the
// other bits are read-only. The bit is kept and observable; it gates no routing here
// (a board without the step still reaches its devices, as on processors that skip it).
#pragma once
#include <cstdint>
#include <functional>

#include "PciFunction.h"

namespace zub {

struct RootComplexConfig {
  PciIdentity identity{0x8086, 0x09A2, 0x060000, 0x04};
  uint16_t rootBusConfig = 0x0000;   // reset value of 0x108
};

class RootComplex : public PciFunction {
public:
  static constexpr uint16_t kRootBusConfig = 0x108;
  static constexpr uint16_t kRootBus1Decode = 0x8000;

  explicit RootComplex(const RootComplexConfig& config);

  uint16_t rootBusConfig() const { return uint16_t(configRead(kRootBusConfig, 2)); }
  bool rootBus1Decode() const { return rootBusConfig() & kRootBus1Decode; }
  // Called with the register's new value after each write that touches it.
  std::function<void(uint16_t value)> onRootBusConfigWrite;

protected:
  void configWritten(uint16_t offset, unsigned bytes) override;
};

}  // namespace zub
