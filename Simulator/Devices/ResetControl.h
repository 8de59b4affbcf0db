// The reset control register at port 0xCF9. A write with bit 2 (reset CPU) set resets at
// once: with bit 1 (system reset) or bit 3 (full reset) it is a cold reset, otherwise a
// warm one; the boot ends through Machine::endBoot with the value in the detail. Other
// writes only latch bits 1 and 3 (and the rest), which a read returns; bit 2 is
// self-clearing and always reads 0.
#pragma once
#include <cstdint>

#include <Machine/Machine.h>

namespace zub {

class ResetControl : public PortDevice {
public:
  static constexpr uint16_t kPort = 0xCF9;
  static constexpr uint8_t kSystemReset = 0x02, kResetCpu = 0x04, kFullReset = 0x08;

  explicit ResetControl(Machine& machine);

  uint8_t latched() const { return latched_; }

  uint32_t ioRead(uint16_t port, unsigned bytes) override { return latched_; }
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value) override;

private:
  Machine& machine_;
  uint8_t latched_ = 0;
};

}  // namespace zub
