#include "Pmc.h"

namespace zub {

Pmc::Pmc(const PmcConfig& config) : PciFunction(config.identity, 0) {
  setConfig(kAcpiBase, 4, kAcpiBaseIoSpace);
  setWritable(kAcpiBase, 4, kAcpiBaseMask);
  setWritable(kAcpiControl, 1, kAcpiEnable | 0x07);
  setWriteOneToClear(kGenPmconB, 1, kPowerFailure);
  setPowerFailure(config.powerFailure);
}

std::optional<uint16_t> Pmc::acpiIoBase() const {
  auto base = uint16_t(configRead(kAcpiBase, 4) & kAcpiBaseMask);
  if (!(configRead(kAcpiControl, 1) & kAcpiEnable) || base == 0) return std::nullopt;
  return base;
}

void Pmc::setPowerFailure(bool on) {
  auto v = uint8_t(configRead(kGenPmconB, 1));
  setConfig(kGenPmconB, 1, on ? v | kPowerFailure : v & ~kPowerFailure);
}

void Pmc::configWritten(uint16_t offset, unsigned bytes) {
  std::optional<uint16_t> now = acpiIoBase();
  if (now == decoded_) return;
  decoded_ = now;
  if (onAcpiDecode) onAcpiDecode(now);
}

}  // namespace zub
