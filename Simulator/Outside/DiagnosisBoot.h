// The outside firmware of one boot as a diagnosis relies on it: at memory initialisation
// the device-disabling firmware applies the CMOS state and the memory reference code
// runs; after PEI the later firmware ends the boot well (BootSuccess) or hangs on an
// enabled faulty device until the watchdog resets the board.
#pragma once
#include <optional>

#include "BoardTopology.h"
#include "DeviceDisabling.h"

namespace zub {

class Cmos;
class Cpld;
class Machine;
class EventLog;

class DiagnosisBoot {
public:
  DiagnosisBoot(Machine& machine, EventLog& events, Cmos& cmos, const Cpld& cpld, const BoardTopology& topology,
                const BoardFaults& faults)
      : machine_(machine), events_(events), cmos_(cmos), cpld_(cpld), topology_(topology), faults_(faults) {}

  void memoryInit();   // may end the boot (fatal memory error)
  void afterPei();     // may end the boot (hang, watchdog)
  const DisabledDevices& disabled();   // applied once per boot, at the first of the two

private:
  Machine& machine_;
  EventLog& events_;
  Cmos& cmos_;
  const Cpld& cpld_;
  const BoardTopology& topology_;
  const BoardFaults& faults_;
  std::optional<DisabledDevices> disabled_;
  bool memoryInitDone_ = false;
};

}  // namespace zub
