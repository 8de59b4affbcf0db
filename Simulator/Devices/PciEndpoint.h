// A generic endpoint (type 0 header) with memory BARs backed by plain memory: enough
// for a device that firmware only finds, sizes and places. The backing of a BAR is
// allocated at its first access, so large BARs cost nothing until used; it comes from
// calloc, whose large blocks are fresh zero pages, so the host pays only for the pages
// that are touched (the 16 MB of video memory of a boot are mostly never written).
#pragma once
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "PciFunction.h"

namespace zub {

// Zero-filled memory that a BAR decodes to; hands out host pointers.
class BarMemory : public MemoryDevice {
public:
  explicit BarMemory(uint64_t size = 0) : size_(size) {}
  uint64_t read(uint64_t offset, unsigned bytes) override;
  void write(uint64_t offset, unsigned bytes, uint64_t value) override;
  uint8_t* hostPointer(uint64_t offset, uint64_t length) override;

private:
  uint8_t* at(uint64_t offset, uint64_t length);
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  uint64_t size_;
  std::unique_ptr<uint8_t[], Free> bytes_;
};

class PciEndpoint : public PciFunction {
public:
  // barSizes[i] is BAR i's size (0: unimplemented); sizes are powers of two.
  PciEndpoint(const PciIdentity& identity, const std::vector<uint32_t>& barSizes);

protected:
  MemoryDevice* barDevice(unsigned index) override { return &bars_[index]; }

private:
  std::vector<BarMemory> bars_;
};

}  // namespace zub
