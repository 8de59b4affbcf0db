#include "DeviceDisabling.h"

#include <algorithm>
#include <iterator>

namespace zub {

namespace {

constexpr uint8_t kIsolate = 0x04;
constexpr uint8_t kAllPersistent = 0xFE;

// SubStep 1-4 of Step 1: the PCH's controllers in the order the diagnosis tries them.
constexpr DeviceClass kPchClasses[] = {DeviceClass::PchPcie, DeviceClass::Usb, DeviceClass::Sata, DeviceClass::Ssata};
constexpr const char* kPchGroupNames[] = {"PCH root ports", "USB ports", "SATA ports", "sSATA ports"};

std::optional<DeviceClass> pchClass(unsigned subStep) {
  if (subStep < 1 || subStep > 4) return std::nullopt;
  return kPchClasses[subStep - 1];
}

bool isPch(DeviceClass c) { return c != DeviceClass::Cpu && c != DeviceClass::Core && c != DeviceClass::Dimm && c != DeviceClass::Iio; }

class Rules {
public:
  Rules(DiagnosisRecord& r, const BoardTopology& t, uint8_t request) : r_(r), t_(t), request_(request) {}

  DisabledDevices apply() {
    if (r_.mode == DiagnosisRecord::kModeMinimumBoot) minimumConfiguration(false);
    else if (r_.mode == DiagnosisRecord::kModeDiagnosis) diagnosis();
    else out_.rule = "normal boot: every device enabled";
    if (out_.rule.empty()) out_.rule = "no rule for this state: every device enabled";
    return std::move(out_);
  }

private:
  void diagnosis() {
    unsigned n = r_.subStep();
    switch (r_.phaseStep) {
      case 0x00: out_.rule = "preparing: every device enabled"; return;
      case 0x01: minimumConfiguration(true); return;
      case 0x11: allPch(), out_.rule = "every device of the PCH disabled"; return;
      case 0x12: allOf(DeviceClass::Iio), out_.rule = "every IIO port disabled"; return;
      case 0x13: allOf(DeviceClass::Dimm), out_.rule = "every memory module disabled"; return;
      case 0x21:
        if (auto c = pchClass(n)) add(*c, 0), out_.rule = std::string("every device on the ") + kPchGroupNames[n - 1] + " disabled";
        return;
      case 0x22: add(DeviceClass::Iio, n), out_.rule = "the IIO ports of CPU " + std::to_string(n) + " disabled"; return;
      case 0x23: add(DeviceClass::Dimm, n), out_.rule = "the memory modules of CPU " + std::to_string(n) + " disabled"; return;
      case 0x24:
        for (unsigned c = std::max(n, 1u); c <= t_.sockets(); ++c) out_.devices.insert({DeviceClass::Cpu, uint8_t(c), 0});
        out_.rule = "the CPUs from CPU " + std::to_string(n) + " on disabled";
        return;
      case 0x31:
        if (auto c = pchClass(n)) countUp(*c, 0, 1, pchPortLimit(*c));
        return;
      case 0x32: countUp(DeviceClass::Iio, n, kFirstIioPort, kLastIioPort); return;
      case 0x33:
        if (r_.testIndex == kAllPersistent && persistentMemory(n)) return;
        countDown(DeviceClass::Dimm, n, kDimmSlotsPerCpu);
        return;
      case 0x34: countDown(DeviceClass::Core, n, uint8_t(t_.coresPerCpu)); return;
      default: break;
    }
    if (r_.phase() == 4) isolation();
    else out_.rule = "no rule for this state: every device enabled";
  }

  // CPU 1 with one core and one memory module; everything else disabled.
  void minimumConfiguration(bool writeRecord) {
    std::set<uint8_t> cores = t_.indexes(DeviceClass::Core, 1), dimms = t_.indexes(DeviceClass::Dimm, 1);
    uint8_t core = cores.empty() ? 1 : *cores.begin(), module = dimms.empty() ? 1 : *dimms.begin();
    for (unsigned c = 2; c <= t_.sockets(); ++c) out_.devices.insert({DeviceClass::Cpu, uint8_t(c), 0});
    for (uint8_t i : cores)
      if (i != core) out_.devices.insert({DeviceClass::Core, 1, i});
    for (uint8_t i : dimms)
      if (i != module) out_.devices.insert({DeviceClass::Dimm, 1, i});
    add(DeviceClass::Iio, 1);
    allPch();
    if (writeRecord) r_.subStepByte = core, r_.testIndex = module;
    out_.rule = "minimum configuration: CPU 1 core " + std::to_string(core) + " and memory module " + dimmName(module);
  }

  // Phase 4: the found device stays disabled, when the BMC asks for isolation.
  void isolation() {
    if (!(request_ & kIsolate)) {
      out_.rule = "isolation boot without the isolation request: every device enabled";
      return;
    }
    uint8_t n = uint8_t(r_.subStep()), t = r_.testIndex;
    std::optional<Device> d;
    switch (r_.step()) {
      case 1:
        if (auto c = pchClass(n)) d = Device{*c, 0, t};
        break;
      case 2: d = Device{DeviceClass::Iio, n, t}; break;
      case 3:
        if (t == kAllPersistent && persistentMemory(n)) return;
        d = Device{DeviceClass::Dimm, n, t};
        break;
      case 4: d = t == 0 ? Device{DeviceClass::Cpu, n, 0} : Device{DeviceClass::Core, n, t}; break;
      default: break;
    }
    if (d) out_.devices.insert(*d);
    out_.rule = d ? "isolation: " + deviceName(*d) + " disabled" : "isolation: no device named";
  }

  // 0xFE of Step 3: every persistent memory module of CPU n, when it has any.
  bool persistentMemory(unsigned n) {
    if (n < 1 || n > t_.sockets() || t_.cpus[n - 1].persistent.empty()) return false;
    for (uint8_t m : t_.cpus[n - 1].persistent) out_.devices.insert({DeviceClass::Dimm, uint8_t(n), m});
    out_.rule = "the persistent memory of CPU " + std::to_string(n) + " disabled";
    return true;
  }

  // TestIndex counts up from `lowest`: it moves to the first device the board has at or
  // above it (or to the limit when none is left, which then fails the search).
  void countUp(DeviceClass cls, unsigned cpu, uint8_t lowest, uint8_t limit) {
    if (r_.testIndex > limit) return;
    std::set<uint8_t> present = t_.indexes(cls, cpu);
    auto it = present.lower_bound(std::max(r_.testIndex, lowest));
    pick(cls, cpu, it != present.end() && *it <= limit ? *it : limit, present);
  }

  // TestIndex counts down (from 0xFF): it moves to the last device the board has at or
  // below it (or to 1 when none is left).
  void countDown(DeviceClass cls, unsigned cpu, uint8_t highest) {
    if (r_.testIndex == 0) return;
    std::set<uint8_t> present = t_.indexes(cls, cpu);
    uint8_t start = std::min(r_.testIndex, highest);
    auto it = present.upper_bound(start);
    pick(cls, cpu, it != present.begin() ? *std::prev(it) : 1, present);
  }

  void pick(DeviceClass cls, unsigned cpu, uint8_t index, const std::set<uint8_t>& present) {
    r_.testIndex = index;
    Device d{cls, uint8_t(cpu), index};
    if (present.count(index)) out_.devices.insert(d);
    out_.rule = present.count(index) ? deviceName(d) + " disabled" : "nothing left to try at " + deviceName(d);
  }

  void add(DeviceClass cls, unsigned cpu) {
    for (uint8_t i : t_.indexes(cls, cpu)) out_.devices.insert({cls, isPch(cls) ? uint8_t(0) : uint8_t(cpu), i});
  }
  void allOf(DeviceClass cls) {
    for (unsigned c = 1; c <= t_.sockets(); ++c) add(cls, c);
  }
  void allPch() {
    for (DeviceClass c : kPchClasses) add(c, 0);
  }

  DiagnosisRecord& r_;
  const BoardTopology& t_;
  uint8_t request_;
  DisabledDevices out_;
};

}  // namespace

bool DisabledDevices::enabled(const Device& d) const {
  if (devices.count(d)) return false;
  return d.cpu == 0 || !devices.count(Device{DeviceClass::Cpu, d.cpu, 0});
}

DisabledDevices disableDevices(DiagnosisRecord& record, const BoardTopology& topology, uint8_t cpldRequest) {
  return Rules(record, topology, cpldRequest).apply();
}

}  // namespace zub
