// Memory-mapped configuration addresses, as firmware computes them.
#pragma once
#include <cstdint>

namespace zub::test {

constexpr uint64_t ecam(unsigned bus, unsigned device, unsigned function, unsigned offset = 0) {
  return 0x80000000ull | bus << 20 | device << 15 | function << 12 | offset;
}

}  // namespace zub::test
