#include "BoardTopology.h"

#include <charconv>

namespace zub {

namespace {

struct ClassName {
  DeviceClass cls;
  const char* name;
  bool perCpu;     // "NAME:N:..." with a CPU number
  bool indexed;    // a third field (core, module, port) or, for the PCH, a port number
};

constexpr ClassName kClassNames[] = {
    {DeviceClass::Cpu, "cpu", true, false},       {DeviceClass::Core, "core", true, true},
    {DeviceClass::Dimm, "dimm", true, true},      {DeviceClass::Iio, "iio", true, true},
    {DeviceClass::PchPcie, "pch-pcie", false, true}, {DeviceClass::Usb, "usb", false, true},
    {DeviceClass::Sata, "sata", false, true},     {DeviceClass::Ssata, "ssata", false, true},
};

const ClassName& className(DeviceClass cls) {
  for (const auto& c : kClassNames)
    if (c.cls == cls) return c;
  return kClassNames[0];
}

std::optional<unsigned> number(const std::string& s) {
  unsigned v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v > 255) return std::nullopt;
  return v;
}

std::vector<std::string> split(const std::string& s) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(':', start)) != std::string::npos; start = at + 1) parts.push_back(s.substr(start, at - start));
  parts.push_back(s.substr(start));
  return parts;
}

}  // namespace

uint8_t pchPortLimit(DeviceClass cls) {
  switch (cls) {
    case DeviceClass::PchPcie: return 20;
    case DeviceClass::Usb: return 16;
    case DeviceClass::Sata: return 8;
    case DeviceClass::Ssata: return 6;
    default: return 0;
  }
}

std::optional<uint8_t> dimmIndex(const std::string& name) {
  if (name.size() != 2 || name[0] < 'A' || name[0] > 'H' || (name[1] != '0' && name[1] != '1')) return std::nullopt;
  return uint8_t((name[0] - 'A') * 2 + (name[1] - '0') + 1);
}

std::string dimmName(uint8_t index) {
  if (index < 1 || index > kDimmSlotsPerCpu) return "?";
  return {char('A' + (index - 1) / 2), char('0' + (index - 1) % 2)};
}

std::optional<uint8_t> iioPortIndex(const std::string& name) {
  if (name.size() != 2 || name[0] < '1' || name[0] > '5' || name[1] < 'A' || name[1] > 'D') return std::nullopt;
  return uint8_t(kFirstIioPort + (name[0] - '1') * 4 + (name[1] - 'A'));
}

std::string iioPortName(uint8_t index) {
  if (index < kFirstIioPort || index > kLastIioPort) return "?";
  return {char('1' + (index - kFirstIioPort) / 4), char('A' + (index - kFirstIioPort) % 4)};
}

std::optional<Device> parseDevice(const std::string& text, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<Device> {
    if (error) *error = why;
    return std::nullopt;
  };
  std::vector<std::string> parts = split(text);
  for (const auto& c : kClassNames) {
    if (parts[0] != c.name) continue;
    size_t fields = 1 + c.perCpu + (c.perCpu ? c.indexed : 1);
    std::string form = c.cls == DeviceClass::Cpu ? "cpu:N" : c.cls == DeviceClass::Core ? "core:N:C"
                     : c.cls == DeviceClass::Dimm ? "dimm:N:NAME (NAME A0..H1)"
                     : c.cls == DeviceClass::Iio ? "iio:N:PORT (PORT 1A..5D)" : std::string(c.name) + ":N";
    if (parts.size() != fields) return fail("expected " + form);
    Device d{c.cls};
    if (c.perCpu) {
      auto cpu = number(parts[1]);
      if (!cpu || *cpu < 1 || *cpu > kMaxSockets) return fail("expected " + form + " with a CPU number 1.." + std::to_string(kMaxSockets));
      d.cpu = uint8_t(*cpu);
    }
    const std::string& last = parts.back();
    std::optional<unsigned> index;
    if (c.cls == DeviceClass::Dimm) index = dimmIndex(last);
    else if (c.cls == DeviceClass::Iio) index = iioPortIndex(last);
    else if (c.indexed) index = number(last);
    if (c.indexed && (!index || *index == 0)) return fail("expected " + form);
    if (c.indexed) d.index = uint8_t(*index);
    return d;
  }
  return fail("expected cpu:N, core:N:C, dimm:N:NAME, iio:N:PORT, pch-pcie:N, usb:N, sata:N, ssata:N or none");
}

std::string deviceName(const Device& d) {
  std::string s = className(d.cls).name;
  if (d.cpu) s += ":" + std::to_string(d.cpu);
  if (d.cls == DeviceClass::Dimm) return s + ":" + dimmName(d.index);
  if (d.cls == DeviceClass::Iio) return s + ":" + iioPortName(d.index);
  if (d.cls != DeviceClass::Cpu) s += ":" + std::to_string(d.index);
  return s;
}

std::set<uint8_t> BoardTopology::indexes(DeviceClass cls, unsigned cpu) const {
  const CpuTopology* c = cpu >= 1 && cpu <= cpus.size() ? &cpus[cpu - 1] : nullptr;
  switch (cls) {
    case DeviceClass::Cpu: return {};
    case DeviceClass::Core: {
      std::set<uint8_t> cores;
      for (unsigned i = 1; c && i <= coresPerCpu; ++i) cores.insert(uint8_t(i));
      return cores;
    }
    case DeviceClass::Dimm: return c ? c->dimms : std::set<uint8_t>{};
    case DeviceClass::Iio: return c ? c->iioPorts : std::set<uint8_t>{};
    case DeviceClass::PchPcie: return pchRootPorts;
    case DeviceClass::Usb: return usbPorts;
    case DeviceClass::Sata: return sataPorts;
    case DeviceClass::Ssata: return ssataPorts;
  }
  return {};
}

bool BoardTopology::has(const Device& d) const {
  bool perCpu = className(d.cls).perCpu;
  if (perCpu != (d.cpu != 0)) return false;
  if (perCpu && d.cpu > cpus.size()) return false;
  if (d.cls == DeviceClass::Cpu) return d.index == 0;
  return indexes(d.cls, d.cpu).count(d.index) != 0;
}

bool BoardTopology::hasPersistentMemory() const {
  for (const auto& c : cpus)
    if (!c.persistent.empty()) return true;
  return false;
}

std::vector<Device> BoardTopology::devices() const {
  std::vector<Device> all;
  for (const auto& c : kClassNames) {
    if (c.cls == DeviceClass::Cpu) {
      for (unsigned n = 1; n <= sockets(); ++n) all.push_back({c.cls, uint8_t(n), 0});
    } else if (c.perCpu) {
      for (unsigned n = 1; n <= sockets(); ++n)
        for (uint8_t i : indexes(c.cls, n)) all.push_back({c.cls, uint8_t(n), i});
    } else {
      for (uint8_t i : indexes(c.cls)) all.push_back({c.cls, 0, i});
    }
  }
  return all;
}

}  // namespace zub
