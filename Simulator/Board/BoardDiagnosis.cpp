#include "BoardDiagnosis.h"

#include "BoardConfig.h"
#include "Devices/Cpld.h"
#include "JsonReader.h"

namespace zub {

namespace {

// "cpld": {"request": 0x02, "slots": {"cpu1": [..16 bytes..], "cpu2": [...]},
//          "registers": {"0x13": 2}}
void parseCpld(JsonReader r, CpldConfig& c) {
  if (r.has("request")) c.registers[Cpld::kRequest] = uint8_t(r.integer("request", 0, 0, 0xFF));
  JsonReader slots = r.object("slots");
  for (int cpu = 1; cpu <= 2; ++cpu) {
    std::string key = "cpu" + std::to_string(cpu);
    if (!slots.has(key)) continue;
    std::vector<uint8_t> bytes = slots.bytes(key);
    if (bytes.size() > 16) slots.fail(key, "at most 16 slot numbers (IIO ports 1A-5D of the CPU)");
    for (size_t i = 0; i < bytes.size(); ++i) c.registers[uint16_t(Cpld::kSlotFirst + 16 * (cpu - 1) + i)] = bytes[i];
  }
  for (auto& [index, value] : r.entries("registers")) {
    uint16_t i = uint16_t(JsonReader::toInteger(index, value.path(), 0, 0xFFFF));
    c.registers[i] = uint8_t(JsonReader::toInteger(value.value(), value.path(), 0, 0xFF));
  }
}

// An array of port numbers 1..limit, or of names that `index` maps.
std::set<uint8_t> parsePorts(JsonReader& r, const std::string& key, uint8_t limit,
                             std::optional<uint8_t> (*index)(const std::string&) = nullptr, const char* names = nullptr) {
  std::set<uint8_t> out;
  r.each(key, [&](JsonReader& v) {
    if (index) {
      std::optional<uint8_t> i = v.value().is_string() ? index(v.value().get<std::string>()) : std::nullopt;
      if (!i) throw BoardFileError(v.path(), std::string("expected a name ") + names);
      out.insert(*i);
    } else {
      out.insert(uint8_t(JsonReader::toInteger(v.value(), v.path(), 1, limit)));
    }
  });
  return out;
}

// "topology": {"cores_per_cpu": 16, "cpus": [{"dimms": ["A0", ...], "persistent": [...],
//              "iio_ports": ["1A", ...]}, ...], "pch_root_ports": [1, 3], "usb_ports": [...], ...}
void parseTopology(JsonReader r, BoardTopology& t) {
  t.coresPerCpu = unsigned(r.integer("cores_per_cpu", t.coresPerCpu, 1, 128));
  if (r.has("cpus")) {
    std::vector<CpuTopology> cpus;
    r.each("cpus", [&](JsonReader& c) {
      CpuTopology cpu;
      if (c.has("dimms")) cpu.dimms = parsePorts(c, "dimms", 0, dimmIndex, "A0..H1");
      cpu.persistent = parsePorts(c, "persistent", 0, dimmIndex, "A0..H1");
      for (uint8_t m : cpu.persistent)
        if (!cpu.dimms.count(m)) c.fail("persistent", "memory module " + dimmName(m) + " is not among the populated dimms");
      if (c.has("iio_ports")) cpu.iioPorts = parsePorts(c, "iio_ports", 0, iioPortIndex, "1A..5D");
      cpus.push_back(std::move(cpu));
    });
    if (cpus.empty() || cpus.size() > kMaxSockets) r.fail("cpus", "1 to " + std::to_string(kMaxSockets) + " CPUs");
    t.cpus = std::move(cpus);
  }
  struct {
    const char* key;
    DeviceClass cls;
    std::set<uint8_t>& ports;
  } pch[] = {{"pch_root_ports", DeviceClass::PchPcie, t.pchRootPorts}, {"usb_ports", DeviceClass::Usb, t.usbPorts},
             {"sata_ports", DeviceClass::Sata, t.sataPorts}, {"ssata_ports", DeviceClass::Ssata, t.ssataPorts}};
  for (auto& p : pch)
    if (r.has(p.key)) p.ports = parsePorts(r, p.key, pchPortLimit(p.cls));
}

// "faults": {"devices": ["core:2:5"], "memory_fatal": {"kind": "other", "code": 3, "minor": 2},
//            "watchdog_timeout_s": 300}
void parseFaults(JsonReader r, const BoardTopology& t, BoardFaults& f) {
  r.each("devices", [&](JsonReader& v) {
    std::string error;
    std::optional<Device> d = v.value().is_string() ? parseDevice(v.value().get<std::string>(), &error) : std::nullopt;
    if (!d) throw BoardFileError(v.path(), error.empty() ? "expected a device name" : error);
    if (!t.has(*d)) throw BoardFileError(v.path(), "the board has no " + deviceName(*d));
    f.devices.insert(*d);
  });
  if (r.has("memory_fatal")) {
    JsonReader m = r.object("memory_fatal");
    MemoryFatalError e;
    std::string kind = m.choice("kind", "code", {"internal", "other", "code"});
    e.kind = kind == "internal" ? MemoryFatalError::Kind::Internal
           : kind == "other" ? MemoryFatalError::Kind::Other : MemoryFatalError::Kind::Code;
    if (!m.has("code")) m.fail("code", "a fatal error needs its code 1-255");
    e.code = uint8_t(m.integer("code", 0, 1, 0xFF));
    e.minor = uint8_t(m.integer("minor", 0, 0, 0xFF));
    f.memoryFatal = e;
  }
  f.watchdogTimeoutNs = r.integer("watchdog_timeout_s", f.watchdogTimeoutNs / 1'000'000'000, 1, 86400) * 1'000'000'000;
}

}  // namespace

void parseBoardDiagnosis(JsonReader& root, BoardConfig& board) {
  parseCpld(root.object("cpld"), board.cpld);
  parseTopology(root.object("topology"), board.topology);
  parseFaults(root.object("faults"), board.topology, board.faults);
  board.faults.laterFirmware = root.boolean("later_firmware", board.faults.laterFirmware);
}

}  // namespace zub
