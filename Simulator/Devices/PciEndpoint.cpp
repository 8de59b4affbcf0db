#include "PciEndpoint.h"

#include <new>

#include <Machine/MemoryMap.h>

namespace zub {

uint8_t* BarMemory::at(uint64_t offset, uint64_t length) {
  if (offset > size_ || length > size_ - offset) return nullptr;
  if (!bytes_) {
    bytes_.reset(static_cast<uint8_t*>(std::calloc(size_ ? size_ : 1, 1)));
    if (!bytes_) throw std::bad_alloc();
  }
  return bytes_.get() + offset;
}

uint64_t BarMemory::read(uint64_t offset, unsigned bytes) {
  uint8_t* p = at(offset, bytes);
  return p ? loadLe(p, bytes) : ~uint64_t(0);
}

void BarMemory::write(uint64_t offset, unsigned bytes, uint64_t value) {
  if (uint8_t* p = at(offset, bytes)) storeLe(p, bytes, value);
}

uint8_t* BarMemory::hostPointer(uint64_t offset, uint64_t length) { return at(offset, length); }

PciEndpoint::PciEndpoint(const PciIdentity& identity, const std::vector<uint32_t>& barSizes)
    : PciFunction(identity, 0), bars_(barCount()) {
  for (unsigned i = 0; i < barSizes.size() && i < barCount(); ++i) {
    defineMemoryBar(i, barSizes[i]);
    bars_[i] = BarMemory(barSize(i));
  }
}

}  // namespace zub
