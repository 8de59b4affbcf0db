// The devices a diagnosis can disable, as the board has them: CPUs with their cores,
// memory modules and IIO ports, and the PCH's root ports, USB, SATA and sSATA ports. A
// device is named as the diagnosis result texts name it ("core:2:5" is core 5 of CPU 2,
// "dimm:1:B0", "iio:1:2B", "usb:4"); CPUs, cores and the PCH's ports count from 1,
// memory modules are A0..H1 (index 1..16) and IIO ports 1A..5D (index 2..21), the
// numbers FaultIsolatePei keeps in TestIndex.
#pragma once
#include <compare>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zub {

enum class DeviceClass { Cpu, Core, Dimm, Iio, PchPcie, Usb, Sata, Ssata };

struct Device {
  DeviceClass cls = DeviceClass::Cpu;
  uint8_t cpu = 0;     // 1.. for CPU-side devices; 0 for the PCH's
  uint8_t index = 0;   // core, memory module, IIO port index or PCH port; 0 for a CPU
  auto operator<=>(const Device&) const = default;
};

inline constexpr unsigned kMaxSockets = 8;         // the CPU search starts at CPU 8
inline constexpr unsigned kDimmSlotsPerCpu = 16;   // A0..H1
inline constexpr uint8_t kFirstIioPort = 2, kLastIioPort = 21;

// Highest port number the diagnosis searches on each PCH controller.
uint8_t pchPortLimit(DeviceClass cls);

// "A0".."H1" <-> 1..16 and "1A".."5D" <-> 2..21; nullopt for anything else.
std::optional<uint8_t> dimmIndex(const std::string& name);
std::string dimmName(uint8_t index);
std::optional<uint8_t> iioPortIndex(const std::string& name);
std::string iioPortName(uint8_t index);

// "cpu:N", "core:N:C", "dimm:N:NAME", "iio:N:PORT", "pch-pcie:N", "usb:N", "sata:N",
// "ssata:N"; on failure the message says what was expected.
std::optional<Device> parseDevice(const std::string& text, std::string* error = nullptr);
std::string deviceName(const Device& d);

// The defaults are the default board's (boards/default.json spells them out).
struct CpuTopology {
  std::set<uint8_t> dimms = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};   // populated slots A0..H1
  std::set<uint8_t> persistent;                           // of those, persistent memory (DCPMM, NVDIMM)
  std::set<uint8_t> iioPorts = {2, 3, 6, 7, 10, 18, 19};  // with a device behind: 1A 1B 2A 2B 3A 5A 5B
};

struct BoardTopology {
  unsigned coresPerCpu = 16;
  std::vector<CpuTopology> cpus = std::vector<CpuTopology>(2);   // one per socket
  // The PCH's ports with a device: those the location tables name (root port 1, the
  // onboard NIC on 3, M.2 on 7 and 8; the BMC's and the connected USB ports), every SATA
  // port and the sSATA ports 1-6.
  std::set<uint8_t> pchRootPorts = {1, 3, 7, 8};
  std::set<uint8_t> usbPorts = {1, 3, 4, 5, 6, 7, 11, 13};
  std::set<uint8_t> sataPorts = {1, 2, 3, 4, 5, 6, 7, 8};
  std::set<uint8_t> ssataPorts = {1, 2, 3, 4, 5, 6};

  unsigned sockets() const { return unsigned(cpus.size()); }
  // The indexes of a class on CPU `cpu` (PCH classes ignore it): cores 1..N, ...
  std::set<uint8_t> indexes(DeviceClass cls, unsigned cpu = 0) const;
  bool has(const Device& d) const;
  bool hasPersistentMemory() const;
  // Every device of the board, CPUs first.
  std::vector<Device> devices() const;
};

// Injected faults: devices that make a boot fail while they are enabled, and a fatal
// error the memory reference code records at every memory initialisation.
struct MemoryFatalError {
  enum class Kind { Internal, Other, Code } kind = Kind::Code;
  uint8_t code = 0;    // ExceptionCode (major code)
  uint8_t minor = 0;   // Other: the minor code, whose low nibble goes to ExceptionFlags bits 7-4
};

struct BoardFaults {
  std::set<Device> devices;
  std::optional<MemoryFatalError> memoryFatal;
  uint64_t watchdogTimeoutNs = 300'000'000'000ull;   // hang to the BMC watchdog's reset
  bool laterFirmware = true;   // false: nothing runs after PEI (module tests)
};

}  // namespace zub
