// The firmware after PEI, as far as a diagnosis sees it: with a faulty device enabled the
// boot hangs until the watchdog resets it; otherwise it reaches its successful end and
// sets BootSuccess (CMOS 0x73 bit 0), which FaultIsolatePei reads at the next boot.
#pragma once

#include "BoardTopology.h"
#include "DeviceDisabling.h"

namespace zub {

class Cmos;
class Machine;
class EventLog;

void runLaterFirmware(Cmos& cmos, const BoardFaults& faults, const DisabledDevices& disabled, Machine& machine,
                      EventLog& events);

}  // namespace zub
