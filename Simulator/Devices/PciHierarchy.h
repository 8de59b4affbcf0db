// The PCI Express hierarchy of the board: bus 0 with its functions, the bridges and the
// buses behind them, and the decoders that put it on the machine's memory and port maps
// (ECAM at 0x80000000, BAR memory, legacy VGA memory and ports). It owns every function
// added through it.
#pragma once
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <Machine/Machine.h>

#include "PciBridge.h"
#include "PciBus.h"
#include "PciDecoders.h"
#include "PciFunction.h"

namespace zub {

class PciHierarchy {
public:
  PciHierarchy() = default;
  PciHierarchy(const PciHierarchy&) = delete;
  PciHierarchy& operator=(const PciHierarchy&) = delete;

  PciBus& bus0() { return bus0_; }

  // Creates a function of any model and attaches it at (device, function) of `bus`.
  template <class T, class... Args>
  T& add(PciBus& bus, uint8_t device, uint8_t function, Args&&... args) {
    auto f = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *f;
    adopt(bus, device, function, std::move(f));
    return ref;
  }
  void adopt(PciBus& bus, uint8_t device, uint8_t function, std::unique_ptr<PciFunction> f);

  // The function a configuration cycle reaches, or nullptr (master abort).
  PciFunction* function(uint8_t bus, uint8_t device, uint8_t function) const;
  uint32_t configRead(uint8_t bus, uint8_t device, uint8_t function, uint16_t offset, unsigned bytes) const;
  void configWrite(uint8_t bus, uint8_t device, uint8_t function, uint16_t offset, unsigned bytes, uint32_t value);

  MemoryTarget decodeMemory(uint64_t address) const;
  PortDevice* vgaPortTarget() const { return bus0_.routeVgaPorts(); }
  MemoryDevice* vgaMemoryTarget() const { return bus0_.routeVgaMemory(); }

  // Adds the ECAM, BAR and VGA memory decoders to the memory map and the VGA ports to
  // the port map.
  void attach(Machine& machine);

private:
  PciBus bus0_;
  std::vector<std::unique_ptr<PciFunction>> owned_;
  PciEcam ecam_{*this};
  PciMemoryDecoder memory_{*this};
  PciVgaMemoryDecoder vgaMemory_{*this};
  PciVgaPorts vgaPorts_{*this};
};

}  // namespace zub
