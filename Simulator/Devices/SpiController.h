// The PCH SPI controller at 0:1F.5 with its BIOS control byte at 0xDC. Bit 5 is the
// BIOS write-protect bit the flash write path releases around each operation
// (biosWriteProtected() = bit 5 set); bit 0 (write-protect disable) is kept too. The
// lock bit and its SMM semantics are not modelled.
#pragma once
#include <cstdint>

#include "PciFunction.h"

namespace zub {

struct SpiControllerConfig {
  PciIdentity identity{0x8086, 0xA1A4, 0x0C8000, 0x09};
  uint8_t biosControl = 0x20;   // reset value of 0xDC: write-protected
};

class SpiController : public PciFunction {
public:
  static constexpr uint16_t kBiosControl = 0xDC;
  static constexpr uint8_t kWriteProtectDisable = 0x01, kBiosWriteProtect = 0x20;

  explicit SpiController(const SpiControllerConfig& config) : PciFunction(config.identity, 0) {
    setConfig(kBiosControl, 1, config.biosControl);
    setWritable(kBiosControl, 1, kWriteProtectDisable | kBiosWriteProtect);
  }

  uint8_t biosControl() const { return uint8_t(configRead(kBiosControl, 1)); }
  bool biosWriteProtected() const { return biosControl() & kBiosWriteProtect; }
};

}  // namespace zub
