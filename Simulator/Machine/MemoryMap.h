// The physical address map. Decoders are asked in order; the first that claims an address
// gets the access. Fixed ranges (ECAM, PCR, flash) and dynamic decoders (PCI BARs behind
// bridges, the LPC memory window) both implement MemoryDecoder. An address nothing
// decodes reads all ones.
#pragma once
#include <cstdint>
#include <vector>

namespace zub {

class MemoryDevice {
public:
  virtual ~MemoryDevice() = default;
  virtual uint64_t read(uint64_t offset, unsigned bytes) = 0;
  virtual void write(uint64_t offset, unsigned bytes, uint64_t value) = 0;
  // Memory-like devices hand out a host pointer to [offset, offset + length).
  virtual uint8_t* hostPointer(uint64_t offset, uint64_t length) { return nullptr; }
};

struct MemoryTarget {
  MemoryDevice* device = nullptr;
  uint64_t offset = 0;
  uint64_t limit = 0;   // bytes the target decodes from offset onward (for pointer checks)
};

class MemoryDecoder {
public:
  virtual ~MemoryDecoder() = default;
  virtual MemoryTarget decode(uint64_t address) = 0;
};

// A fixed window [base, base + size) onto a device.
class FixedRange : public MemoryDecoder {
public:
  FixedRange(uint64_t base, uint64_t size, MemoryDevice* device) : base_(base), size_(size), device_(device) {}
  MemoryTarget decode(uint64_t address) override {
    if (address < base_ || address - base_ >= size_) return {};
    return {device_, address - base_, size_ - (address - base_)};
  }

private:
  uint64_t base_, size_;
  MemoryDevice* device_;
};

class MemoryMap {
public:
  void add(MemoryDecoder* decoder) { decoders_.push_back(decoder); }
  MemoryTarget decode(uint64_t address) const;
  uint64_t read(uint64_t address, unsigned bytes) const;
  void write(uint64_t address, unsigned bytes, uint64_t value) const;
  uint8_t* hostPointer(uint64_t address, uint64_t length) const;

private:
  std::vector<MemoryDecoder*> decoders_;
};

// Plain little-endian storage helpers for devices backed by a byte array.
uint64_t loadLe(const uint8_t* p, unsigned bytes);
void storeLe(uint8_t* p, unsigned bytes, uint64_t value);

}  // namespace zub
