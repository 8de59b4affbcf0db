#include "AcpiPmTimer.h"

namespace zub {

uint32_t AcpiPmTimer::count() const {
  unsigned __int128 ticks = (unsigned __int128)machine_.clock.nowNs() * kFrequencyHz / 1'000'000'000u;
  return uint32_t(ticks) & kMask;
}

void AcpiPmTimer::decodeAt(std::optional<uint16_t> acpiBase) {
  machine_.ports.unmap(this);
  port_.reset();
  if (!acpiBase) return;
  port_ = uint16_t(*acpiBase + kRegisterOffset);
  machine_.ports.map(*port_, uint16_t(*port_ + 3), this);
}

uint32_t AcpiPmTimer::ioRead(uint16_t port, unsigned bytes) {
  // A narrower read at base + 9..11 sees the upper bytes of the 32-bit register.
  return count() >> (8 * (port - *port_));
}

}  // namespace zub
