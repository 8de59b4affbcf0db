// The ACPI power-management timer: a 24-bit counter at 3,579,545 Hz, derived from the
// machine's virtual clock (ticks = ns * 3579545 / 1e9, mod 2^24), read at ACPI I/O
// base + 8. It decodes only where the PMC puts it: the PMC calls decodeAt() with its
// ACPI base while ACPI I/O decode is on and with nullopt otherwise; an undecoded port
// is unclaimed and floats to all ones. Writes are ignored (the counter is read-only).
#pragma once
#include <cstdint>
#include <optional>

#include <Machine/Machine.h>

namespace zub {

class AcpiPmTimer : public PortDevice {
public:
  static constexpr uint64_t kFrequencyHz = 3'579'545;
  static constexpr uint16_t kRegisterOffset = 8;
  static constexpr uint32_t kMask = 0x00FFFFFF;

  explicit AcpiPmTimer(Machine& machine) : machine_(machine) {}

  uint32_t count() const;
  void decodeAt(std::optional<uint16_t> acpiBase);
  std::optional<uint16_t> port() const { return port_; }

  uint32_t ioRead(uint16_t port, unsigned bytes) override;
  void ioWrite(uint16_t, unsigned, uint32_t) override {}

private:
  Machine& machine_;
  std::optional<uint16_t> port_;
};

}  // namespace zub
