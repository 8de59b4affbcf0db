#include "SpiFlash.h"

#include <algorithm>
#include <stdexcept>

namespace zub {

SpiFlash::SpiFlash(Machine& machine, std::vector<uint8_t> image)
    : machine_(machine), image_(std::move(image)), mapping_(kTopOfMemory - image_.size(), image_.size(), this) {
  if (image_.empty() || image_.size() % kBlockSize || image_.size() > (16u << 20))
    throw std::runtime_error("the BIOS region must be 4 KB to 16 MB in whole 4 KB blocks");
  machine_.memory.add(&mapping_);
}

bool SpiFlash::countOperation() { return ++operations_ == powerLossAt_; }

void SpiFlash::losePower(const char* kind) {
  machine_.endBoot(BootEndKind::PowerLoss,
                   "power lost during flash operation " + std::to_string(operations_) + " (" + kind + ")");
}

SpiFlash::Result SpiFlash::erase(uint32_t offset, uint32_t count) {
  if (count % kBlockSize) return Result::Misaligned;
  // A block erase takes the address of any byte in the block.
  uint64_t first = offset & ~uint64_t(kBlockSize - 1);
  if (!inRange(first, count)) return Result::OutOfRange;
  bool interrupted = countOperation();
  uint32_t blocks = count / kBlockSize;
  uint32_t done = interrupted ? blocks / 2 : blocks;
  std::fill_n(image_.begin() + first, uint64_t(done) * kBlockSize, 0xFF);
  if (onOperation) onOperation("erase", uint32_t(first), count, interrupted);
  if (interrupted) losePower("erase");
  return Result::Ok;
}

SpiFlash::Result SpiFlash::program(uint32_t offset, uint32_t count, const uint8_t* data) {
  if (!inRange(offset, count)) return Result::OutOfRange;
  bool interrupted = countOperation();
  uint32_t done = interrupted ? count / 2 : count;
  for (uint32_t i = 0; i < done; ++i) image_[offset + i] &= data[i];
  if (onOperation) onOperation("write", offset, count, interrupted);
  if (interrupted) losePower("write");
  return Result::Ok;
}

}  // namespace zub
