#include "LaterFirmware.h"

#include "Devices/Cmos.h"
#include "DiagnosisRecord.h"
#include "Machine/EventLog.h"
#include "Watchdog.h"

namespace zub {

void runLaterFirmware(Cmos& cmos, const BoardFaults& faults, const DisabledDevices& disabled, Machine& machine,
                      EventLog& events) {
  std::string faulty;
  for (const Device& d : faults.devices)
    if (disabled.enabled(d)) faulty += (faulty.empty() ? "" : ", ") + deviceName(d);
  if (!faulty.empty())
    watchdogReset(machine, events, faults.watchdogTimeoutNs, "the boot hung after PEI with " + faulty + " faulty");
  uint8_t flags = cmos.byte(DiagnosisRecord::kFirstIndex);
  cmos.setByte(DiagnosisRecord::kFirstIndex, flags | DiagnosisRecord::kBootSuccess);
  events.add("boot_success", {{"cmos_0x73", flags | DiagnosisRecord::kBootSuccess}});
}

}  // namespace zub
