// How a boot ends. A reset written to 0xCF9 or a dead loop ends the boot at once: the
// board throws BootEnd from inside the module's access, it unwinds through the module
// frames (they hold no resources) and is caught by the dispatcher.
#pragma once
#include <string>

namespace zub {

enum class BootEndKind {
  Completed,   // PEI ran to its end and the later firmware took over
  WarmReset,   // CPU-only reset through 0xCF9
  ColdReset,   // hard or full reset through 0xCF9, or a watchdog reset
  Halted,      // CpuDeadLoop
  PowerLoss,   // power removed (injected fault)
};

const char* bootEndName(BootEndKind kind);

struct BootEnd {
  BootEndKind kind;
  std::string detail;
};

}  // namespace zub
