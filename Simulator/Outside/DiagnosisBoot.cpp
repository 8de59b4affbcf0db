#include "DiagnosisBoot.h"

#include "Devices/Cmos.h"
#include "Devices/Cpld.h"
#include "LaterFirmware.h"
#include "Machine/EventLog.h"
#include "MemoryReferenceCode.h"

namespace zub {

const DisabledDevices& DiagnosisBoot::disabled() {
  if (disabled_) return *disabled_;
  DiagnosisRecord before = DiagnosisRecord::read(cmos_), after = before;
  disabled_ = disableDevices(after, topology_, cpld_.reg(Cpld::kRequest));
  if (after == before && before.mode != DiagnosisRecord::kModeMinimumBoot && before.mode != DiagnosisRecord::kModeDiagnosis)
    return *disabled_;   // a normal boot: nothing to disable, nothing to tell
  after.write(cmos_);
  nlohmann::json names = nlohmann::json::array();
  for (const Device& d : disabled_->devices) names.push_back(deviceName(d));
  nlohmann::json event = {{"state", before.describe()}, {"rule", disabled_->rule}, {"disabled", names}};
  if (after.testIndex != before.testIndex) event["test_index"] = after.testIndex;
  if (after.subStepByte != before.subStepByte) event["core_byte"] = after.subStepByte;
  events_.add("device_disabling", event);
  return *disabled_;
}

void DiagnosisBoot::memoryInit() {
  if (memoryInitDone_) return;
  memoryInitDone_ = true;
  disabled();
  runMemoryReferenceCode(cmos_, topology_, faults_, machine_, events_);
}

void DiagnosisBoot::afterPei() {
  if (!faults_.laterFirmware) return;
  runLaterFirmware(cmos_, faults_, disabled(), machine_, events_);
}

}  // namespace zub
