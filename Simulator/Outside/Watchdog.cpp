#include "Watchdog.h"

#include "Machine/EventLog.h"
#include "Machine/Machine.h"

namespace zub {

void watchdogReset(Machine& machine, EventLog& events, uint64_t timeoutNs, const std::string& why) {
  events.add("hang", {{"reason", why}});
  machine.clock.advance(timeoutNs);
  events.add("watchdog_reset", {{"timeout_ns", timeoutNs}});
  machine.endBoot(BootEndKind::ColdReset, "watchdog reset: " + why);
}

}  // namespace zub
