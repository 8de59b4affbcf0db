// The memory reference code's part in a diagnosis, at memory initialisation: it marks in
// ExceptionFlags bit 3 whether the board has persistent memory modules, and records an
// injected fatal error (ExceptionFlags bit 1 or bit 2 with the minor code's low nibble in
// bits 7-4, ExceptionCode the major code) before it stops, which hangs the boot until
// the watchdog resets it.
#pragma once

#include "BoardTopology.h"

namespace zub {

class Cmos;
class Machine;
class EventLog;

void runMemoryReferenceCode(Cmos& cmos, const BoardTopology& topology, const BoardFaults& faults, Machine& machine,
                            EventLog& events);

}  // namespace zub
