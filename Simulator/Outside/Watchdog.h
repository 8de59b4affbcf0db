// The BMC's boot watchdog: a boot that hangs (it neither reaches its successful end nor
// resets) is reset cold when the watchdog runs out. The wait is virtual time.
#pragma once
#include <cstdint>
#include <string>

namespace zub {

class Machine;
class EventLog;

[[noreturn]] void watchdogReset(Machine& machine, EventLog& events, uint64_t timeoutNs, const std::string& why);

}  // namespace zub
