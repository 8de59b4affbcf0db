// The PCH private configuration space: 16 MB at 0xFD000000, address = base | port id << 16
// | offset. Each port id has its own 64 KB register file (allocated at the port's first
// write); registers never written read 0, writes of any width and alignment land byte by
// byte. Other models read the registers (the DMI port's copy of the LPC generic memory
// range) and may watch the writes.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <Machine/Machine.h>

namespace zub {

class Pcr : public MemoryDevice {
public:
  static constexpr uint64_t kBase = 0xFD000000, kSize = 16ull << 20;
  static constexpr uint8_t kDmiPort = 0xEF;
  static constexpr uint16_t kDmiLpcGenericMemoryRange = 0x2740;   // the DMI copy of LPC 0x98
  static constexpr uint64_t address(uint8_t port, uint16_t offset) { return kBase | uint64_t(port) << 16 | offset; }

  explicit Pcr(Machine& machine);

  uint32_t readRegister(uint8_t port, uint16_t offset, unsigned bytes = 4) const;
  void writeRegister(uint8_t port, uint16_t offset, unsigned bytes, uint32_t value);
  // Every write, after it landed.
  std::function<void(uint8_t port, uint16_t offset, unsigned bytes, uint64_t value)> onWrite;

  uint64_t read(uint64_t offset, unsigned bytes) override;
  void write(uint64_t offset, unsigned bytes, uint64_t value) override;

private:
  using PortFile = std::array<uint8_t, 0x10000>;
  uint64_t load(uint64_t offset, unsigned bytes) const;

  FixedRange range_;
  std::array<std::unique_ptr<PortFile>, 256> ports_;
};

}  // namespace zub
