// A PCI-to-PCI bridge (type 1 header, class 0x060400) and the bus behind it.
// - 0x18: primary, secondary, subordinate bus numbers and secondary latency timer.
// - 0x1C/0x1D: I/O base and limit (4 KB units, 16-bit I/O; kept, no I/O BARs to route).
// - 0x20/0x22: memory base and limit in 1 MB units (bits 15:4 of each word), so a dword
//   0x94109000 opens 0x90000000-0x941FFFFF; base above limit closes the window.
// - 0x24/0x26: prefetchable base and limit, same layout, 32-bit only (upper registers 0).
// - 0x3E: bridge control; bit 3 VGA enable routes the legacy VGA ranges downstream.
// Memory is forwarded only while the bridge's own memory enable (command bit 1) is set.
#pragma once
#include <cstdint>

#include "PciBus.h"
#include "PciFunction.h"

namespace zub {

namespace pci {
inline constexpr uint16_t kBusNumbers = 0x18, kIoBase = 0x1C, kSecondaryStatus = 0x1E, kMemoryBase = 0x20,
                          kPrefetchableBase = 0x24, kBridgeControl = 0x3E;
inline constexpr uint16_t kBridgeControlVga = 0x08;
inline constexpr uint32_t kClassBridge = 0x060400;
}  // namespace pci

struct PciWindow {
  uint32_t base = 0, limit = 0;
  bool open() const { return base <= limit; }
  bool contains(uint64_t address) const { return open() && address >= base && address <= limit; }
};

class PciBridge : public PciFunction {
public:
  explicit PciBridge(const PciIdentity& identity);

  PciBridge* bridge() override { return this; }
  PciBus& secondary() { return secondary_; }
  const PciBus& secondary() const { return secondary_; }

  uint8_t primaryBus() const { return uint8_t(configRead(pci::kBusNumbers, 1)); }
  uint8_t secondaryBus() const { return uint8_t(configRead(pci::kBusNumbers + 1, 1)); }
  uint8_t subordinateBus() const { return uint8_t(configRead(pci::kBusNumbers + 2, 1)); }
  PciWindow memoryWindow() const { return window(pci::kMemoryBase); }
  PciWindow prefetchableWindow() const { return window(pci::kPrefetchableBase); }
  bool vgaEnabled() const { return configRead(pci::kBridgeControl, 2) & pci::kBridgeControlVga; }

  bool forwardsMemory(uint64_t address) const {
    return memoryEnabled() && (memoryWindow().contains(address) || prefetchableWindow().contains(address));
  }
  bool forwardsVgaPorts() const { return vgaEnabled() && ioEnabled(); }
  bool forwardsVgaMemory() const { return vgaEnabled() && memoryEnabled(); }

private:
  PciWindow window(uint16_t offset) const;
  PciBus secondary_;
};

}  // namespace zub
