// The firmware outside the system, as a timeline of steps run in order during PEI:
// dispatch the modules that are ready, report a status code (boot stages, memory-test
// percentages, warnings, check points), install a platform PPI (memory discovered, the
// IPMI transport, end of PEI), run the reference code's IIO initialisation, or let
// virtual time pass.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zub {

struct TimelineStep {
  enum class Kind { Dispatch, StatusCode, Install, Wait, IioInit };
  Kind kind = Kind::Dispatch;
  // StatusCode
  uint32_t codeType = 1;          // EFI_PROGRESS_CODE
  uint32_t codeValue = 0;
  std::vector<uint8_t> payload;   // after the 20-byte data header; empty: no data block
  bool withData = true;
  uint32_t repeat = 1;            // the same code this many times in a row
  // Install: "memory-discovered", "ipmi-transport", "spi-flash", "end-of-pei"
  std::string ppi;
  // Wait
  uint64_t waitNs = 0;
};

// Names of the platform PPIs a timeline can install.
inline const std::vector<std::string>& installablePpis() {
  static const std::vector<std::string> names = {"memory-discovered", "ipmi-transport", "spi-flash", "end-of-pei"};
  return names;
}

}  // namespace zub
