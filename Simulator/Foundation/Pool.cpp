#include "Pool.h"

#include <cstring>

namespace zub {

Pool::Pool(size_t capacity) : arena_(new uint8_t[capacity + 4096]), capacity_(capacity) {}

void* Pool::allocate(size_t size, size_t alignment) {
  auto base = reinterpret_cast<uintptr_t>(arena_.get());
  uintptr_t start = (base + used_ + alignment - 1) & ~(uintptr_t(alignment) - 1);
  size_t offset = start - base;
  if (size > capacity_ || offset > capacity_ - size) return nullptr;
  used_ = offset + size;
  std::memset(reinterpret_cast<void*>(start), 0xAF, size);
  return reinterpret_cast<void*>(start);
}

}  // namespace zub
