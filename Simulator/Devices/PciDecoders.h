// The PCI hierarchy as the CPU's buses see it: the ECAM window, memory cycles to BARs
// behind bridges, and the legacy VGA memory and port ranges. Each asks the hierarchy at
// every access, so a decode follows the current bus numbers, windows and enables.
#pragma once
#include <cstdint>

#include <Machine/MemoryMap.h>
#include <Machine/PortMap.h>

namespace zub {

class PciHierarchy;

// Memory-mapped configuration space: address = base | bus << 20 | device << 15 |
// function << 12 | register. Absent functions read all ones and ignore writes; a 64-bit
// access is two dword accesses.
class PciEcam : public MemoryDecoder, public MemoryDevice {
public:
  static constexpr uint64_t kBase = 0x80000000, kSize = 256ull << 20;
  explicit PciEcam(PciHierarchy& pci) : pci_(pci) {}
  MemoryTarget decode(uint64_t address) override;
  uint64_t read(uint64_t offset, unsigned bytes) override;
  void write(uint64_t offset, unsigned bytes, uint64_t value) override;

private:
  PciHierarchy& pci_;
};

// Memory cycles below 4 GB that a BAR claims through the bridges on its path.
class PciMemoryDecoder : public MemoryDecoder {
public:
  explicit PciMemoryDecoder(PciHierarchy& pci) : pci_(pci) {}
  MemoryTarget decode(uint64_t address) override;

private:
  PciHierarchy& pci_;
};

// 0xA0000-0xBFFFF, to the device that claims legacy VGA memory.
class PciVgaMemoryDecoder : public MemoryDecoder {
public:
  static constexpr uint64_t kBase = 0xA0000, kSize = 0x20000;
  explicit PciVgaMemoryDecoder(PciHierarchy& pci) : pci_(pci) {}
  MemoryTarget decode(uint64_t address) override;

private:
  PciHierarchy& pci_;
};

// Ports 0x3B0-0x3BB and 0x3C0-0x3DF, to the device that claims legacy VGA I/O;
// unclaimed ports float (reads all ones).
class PciVgaPorts : public PortDevice {
public:
  static constexpr uint16_t kMonoFirst = 0x3B0, kMonoLast = 0x3BB, kFirst = 0x3C0, kLast = 0x3DF;
  explicit PciVgaPorts(PciHierarchy& pci) : pci_(pci) {}
  uint32_t ioRead(uint16_t port, unsigned bytes) override;
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value) override;

private:
  PciHierarchy& pci_;
};

}  // namespace zub
