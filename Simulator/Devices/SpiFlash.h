// The SPI flash part's BIOS region as a NOR device: an erase sets whole 4 KB blocks to
// 0xFF, programming can only clear bits (new = old AND data). The region is mapped
// read-only so that it ends at 4 GB (a 16 MB region at 0xFF000000); writes through the
// mapping are ignored, as the SPI controller ignores them.
//
// Every erase and program is one flash operation, counted from 1. A power loss can be
// armed at operation N: operations before it complete, operation N does the first half
// of its work (the first half of its 4 KB blocks erased, or the first half of its bytes
// programmed, both rounded down) and then the boot ends with BootEndKind::PowerLoss.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <Machine/Machine.h>

namespace zub {

class SpiFlash : public MemoryDevice {
public:
  static constexpr uint32_t kBlockSize = 0x1000;
  static constexpr uint64_t kTopOfMemory = 0x100000000ull;

  // `image` is the region's content (its size is the region size, a multiple of 4 KB).
  SpiFlash(Machine& machine, std::vector<uint8_t> image);

  uint32_t size() const { return uint32_t(image_.size()); }
  uint64_t base() const { return kTopOfMemory - image_.size(); }
  const std::vector<uint8_t>& image() const { return image_; }

  enum class Result { Ok, OutOfRange, Misaligned };
  // Erases the 4 KB blocks of [offset & ~0xFFF, that + count); count a multiple of 4 KB.
  Result erase(uint32_t offset, uint32_t count);
  // Programs count bytes at offset.
  Result program(uint32_t offset, uint32_t count, const uint8_t* data);

  // 0: no power loss. Otherwise the power fails during operation N of this boot.
  void armPowerLoss(uint32_t operation) { powerLossAt_ = operation; }
  uint32_t operations() const { return operations_; }
  // Called after each operation that changed the part (kind "erase" or "write").
  std::function<void(const char* kind, uint32_t offset, uint32_t count, bool interrupted)> onOperation;

  // The memory mapping.
  uint64_t read(uint64_t offset, unsigned bytes) override { return loadLe(image_.data() + offset, bytes); }
  void write(uint64_t, unsigned, uint64_t) override {}
  uint8_t* hostPointer(uint64_t offset, uint64_t length) override { return image_.data() + offset; }

private:
  bool inRange(uint64_t offset, uint64_t count) const { return offset + count <= image_.size(); }
  // Counts the operation; true when the power fails during it.
  bool countOperation();
  [[noreturn]] void losePower(const char* kind);

  Machine& machine_;
  std::vector<uint8_t> image_;
  FixedRange mapping_;
  uint32_t operations_ = 0;
  uint32_t powerLossAt_ = 0;
};

}  // namespace zub
