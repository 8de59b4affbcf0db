// The PCH power-management controller at 0:1F.2.
// - 0x40 ACPI base (ABASE): bits 15:7 the 128-byte-aligned I/O base, bit 0 reads 1
//   (I/O space indicator), other bits reserved.
// - 0x44 ACPI control: bit 7 ACPI I/O decode enable, bits 2:0 SCI routing (kept).
// - 0xA4 (GEN_PMCON_B) bit 1 PWR_FLR: set by the board after an AC power loss,
//   write-1-to-clear.
// ACPI I/O decodes while bit 7 of 0x44 is set and the base is not 0; every change of
// that decode is reported through onAcpiDecode (the ACPI timer follows it).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "PciFunction.h"

namespace zub {

struct PmcConfig {
  PciIdentity identity{0x8086, 0xA1A1, 0x058000, 0x09};
  bool powerFailure = false;   // PWR_FLR at reset (an AC power loss preceded this boot)
};

class Pmc : public PciFunction {
public:
  static constexpr uint16_t kAcpiBase = 0x40, kAcpiControl = 0x44, kGenPmconB = 0xA4;
  static constexpr uint32_t kAcpiBaseMask = 0xFF80, kAcpiBaseIoSpace = 0x1;
  static constexpr uint8_t kAcpiEnable = 0x80;
  static constexpr uint8_t kPowerFailure = 0x02;

  explicit Pmc(const PmcConfig& config);

  // The ACPI I/O base while decoded.
  std::optional<uint16_t> acpiIoBase() const;
  bool powerFailure() const { return configRead(kGenPmconB, 1) & kPowerFailure; }
  void setPowerFailure(bool on);

  std::function<void(std::optional<uint16_t> acpiBase)> onAcpiDecode;

protected:
  void configWritten(uint16_t offset, unsigned bytes) override;

private:
  std::optional<uint16_t> decoded_;
};

}  // namespace zub
