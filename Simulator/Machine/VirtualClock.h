// Virtual time of the simulated board. Nothing on the board reads the host clock: every
// port and memory access advances this clock by its cost, and the RTC and the ACPI timer
// are derived from it.
#pragma once
#include <cstdint>

namespace zub {

class VirtualClock {
public:
  uint64_t nowNs() const { return ns_; }
  void advance(uint64_t ns) { ns_ += ns; }
  void set(uint64_t ns) { ns_ = ns; }

private:
  uint64_t ns_ = 0;
};

// Documented access costs (virtual nanoseconds).
inline constexpr uint64_t kPortAccessNs = 1000;   // an LPC/legacy port cycle
inline constexpr uint64_t kMmioAccessNs = 200;    // an uncached memory-mapped access
inline constexpr uint64_t kMapMemoryNs = 200;     // handing out a pointer to decoded memory

}  // namespace zub
