// PEI pool and pages: one arena, never freed. New memory is filled with 0xAF, as
// uninitialised RAM would be anything but zero; a module that relies on zeroed pool is
// caught by that.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zub {

class Pool {
public:
  explicit Pool(size_t capacity = 64u << 20);
  void* allocate(size_t size, size_t alignment = 8);   // nullptr when exhausted
  size_t used() const { return used_; }

private:
  std::unique_ptr<uint8_t[]> arena_;
  size_t capacity_;
  size_t used_ = 0;
};

}  // namespace zub
