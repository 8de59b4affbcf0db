// A PCI function's 4 KB configuration space: registers with per-byte write masks and
// write-1-to-clear masks, the command register's decode enables, and 32-bit memory BARs
// sized by a power of two (writing all ones reads back the size mask). Subclasses say
// what their BARs decode to and may claim the legacy VGA ranges.
//
// - Accesses of any width and alignment inside the 4 KB are allowed; bytes a model never
//   sets read 0 (absent capabilities, reserved registers). Bytes past 0xFFF are dropped.
// - A BAR decodes only while the command register's memory enable is set and its base
//   is not 0 (an unassigned BAR never shadows low memory).
// - Only 32-bit memory BARs exist; I/O BARs and expansion ROMs read 0.
// - Function 0's header type gets its multi-function bit when the bus has more functions
//   of the same device.
#pragma once
#include <array>
#include <cstdint>

#include <Machine/MemoryMap.h>
#include <Machine/PortMap.h>

namespace zub {

class PciBridge;

struct PciIdentity {
  uint16_t vendor = 0xFFFF;
  uint16_t device = 0xFFFF;
  uint32_t classCode = 0;   // base class << 16 | subclass << 8 | programming interface
  uint8_t revision = 0;
};

namespace pci {
inline constexpr uint16_t kVendorId = 0x00, kDeviceId = 0x02, kCommand = 0x04, kStatus = 0x06,
                          kRevision = 0x08, kCacheLine = 0x0C, kHeaderType = 0x0E, kBar0 = 0x10,
                          kInterruptLine = 0x3C;
inline constexpr uint16_t kCommandIo = 0x01, kCommandMemory = 0x02, kCommandBusMaster = 0x04;
inline constexpr uint8_t kMultiFunction = 0x80;
inline constexpr uint32_t kBarPrefetchable = 0x08;
inline constexpr uint32_t kConfigSize = 4096;
}  // namespace pci

class PciFunction {
public:
  explicit PciFunction(const PciIdentity& identity, uint8_t headerType = 0);
  virtual ~PciFunction() = default;
  PciFunction(const PciFunction&) = delete;
  PciFunction& operator=(const PciFunction&) = delete;

  uint32_t configRead(uint16_t offset, unsigned bytes) const;
  void configWrite(uint16_t offset, unsigned bytes, uint32_t value);

  PciIdentity identity() const;
  uint16_t command() const { return uint16_t(configRead(pci::kCommand, 2)); }
  bool ioEnabled() const { return command() & pci::kCommandIo; }
  bool memoryEnabled() const { return command() & pci::kCommandMemory; }

  // Memory BARs. size 0 leaves the BAR unimplemented (reads 0, not writable).
  void defineMemoryBar(unsigned index, uint32_t size, bool prefetchable = false);
  unsigned barCount() const { return headerType_ == 1 ? 2 : 6; }
  uint32_t barSize(unsigned index) const { return index < barCount() ? barSizes_[index] : 0; }
  uint32_t barBase(unsigned index) const;   // 0 when unimplemented or unassigned

  // A memory cycle that reached this function: the BAR that claims it, if any.
  MemoryTarget decodeMemory(uint64_t address);

  virtual PciBridge* bridge() { return nullptr; }
  // Legacy VGA claims (0x3B0-0x3BB, 0x3C0-0x3DF; 0xA0000-0xBFFFF). The routing checks
  // this function's I/O and memory enables before using them.
  virtual PortDevice* legacyVgaPorts() { return nullptr; }
  virtual MemoryDevice* legacyVgaMemory() { return nullptr; }

  void markMultiFunction();

protected:
  // What BAR `index` decodes to; the device sees offsets from the BAR base.
  virtual MemoryDevice* barDevice(unsigned index) { return nullptr; }
  // Called after every configuration write, with the written range.
  virtual void configWritten(uint16_t offset, unsigned bytes) {}

  // Register layout set-up: raw values (masks ignored) and which bits software may change.
  void setConfig(uint16_t offset, unsigned bytes, uint32_t value);
  void setWritable(uint16_t offset, unsigned bytes, uint32_t mask);
  void setWriteOneToClear(uint16_t offset, unsigned bytes, uint32_t mask);

private:
  std::array<uint8_t, pci::kConfigSize> config_{};
  std::array<uint8_t, pci::kConfigSize> writable_{};
  std::array<uint8_t, pci::kConfigSize> clearOnOne_{};
  std::array<uint32_t, 6> barSizes_{};
  uint8_t headerType_;
};

}  // namespace zub
