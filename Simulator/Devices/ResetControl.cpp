#include "ResetControl.h"

#include <cstdio>

namespace zub {

ResetControl::ResetControl(Machine& machine) : machine_(machine) { machine.ports.map(kPort, kPort, this); }

void ResetControl::ioWrite(uint16_t port, unsigned bytes, uint32_t value) {
  auto v = uint8_t(value);
  latched_ = v & ~kResetCpu;
  if (!(v & kResetCpu)) return;
  BootEndKind kind = v & (kSystemReset | kFullReset) ? BootEndKind::ColdReset : BootEndKind::WarmReset;
  char detail[32];
  std::snprintf(detail, sizeof detail, "0xCF9 <- 0x%02X", v);
  machine_.endBoot(kind, detail);
}

}  // namespace zub
