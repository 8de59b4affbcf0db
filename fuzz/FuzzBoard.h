// Fuzz targets: the real module images on the simulated board, fed with input that comes
// from outside the firmware (the BMC, flash, CMOS, the CPLD, the reference code's data).
// Each target defines LLVMFuzzerTestOneInput; under libFuzzer it is the fuzzer, in the
// normal build ReplayMain runs it over the committed corpus.
#pragma once
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Bmc/Bmc.h"
#include "Machine/MemoryMap.h"

#include <ZubPcdTokens.h>

namespace zub::fuzz {

// Reads the fuzzer's bytes front to back; past the end every read gives zeros.
class FuzzInput {
public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t u8() { return at_ < size_ ? data_[at_++] : 0; }
  uint16_t u16() { return uint16_t(u8() | u8() << 8); }
  uint32_t u32() { return uint32_t(u16()) | uint32_t(u16()) << 16; }
  // Up to n bytes (fewer at the end).
  std::vector<uint8_t> bytes(size_t n) {
    n = std::min(n, size_ - at_);
    std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
  }
  std::vector<uint8_t> rest() { return bytes(size_ - at_); }
  size_t left() const { return size_ - at_; }

private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

inline uint32_t zcrc(const uint8_t* p, size_t n) { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n))); }

// Video memory whose frame buffer (800x600x4 at the base) and top four megabytes
// (quick-transfer answer and request areas, the volatile store, the debug-log window) are
// separate allocations of exactly their size, so that a read or write that runs past one
// of them leaves its allocation and the address sanitizer sees it.
class SplitVideoMemory : public MemoryDecoder {
public:
  static constexpr uint64_t kBase = 0x90000000, kSize = 16u << 20, kArea = 1u << 20, kFrame = 800 * 600 * 4;

  SplitVideoMemory() {
    parts_.reserve(6);
    parts_.emplace_back(kBase, kFrame);
    parts_.emplace_back(kBase + kFrame, kSize - 4 * kArea - kFrame);
    for (int i = 4; i >= 1; --i) parts_.emplace_back(kBase + kSize - uint64_t(i) * kArea, kArea);
  }
  MemoryTarget decode(uint64_t address) override {
    for (auto& p : parts_)
      if (address >= p.base && address - p.base < p.size) return {&p, address - p.base, p.size - (address - p.base)};
    return {};
  }
  // The area that begins `fromEnd` bytes below the end of video memory (1..4 MB).
  uint8_t* area(uint64_t fromEnd) { return parts_[6 - fromEnd / kArea].bytes.get(); }
  uint8_t* frame() { return parts_[0].bytes.get(); }

  // Puts the PCDs where the video bring-up leaves them.
  static void publish(BootSession& boot) {
    boot.platform().pcd.setNumber(PcdZubVgaMemoryBase_TOKEN, kBase);
    boot.platform().pcd.setNumber(PcdZubVgaMemorySize_TOKEN, kSize);
  }

private:
  struct Part : MemoryDevice {
    Part(uint64_t b, uint64_t s) : base(b), size(s), bytes(new uint8_t[s]()) {}
    uint64_t read(uint64_t o, unsigned n) override { return loadLe(bytes.get() + o, n); }
    void write(uint64_t o, unsigned n, uint64_t v) override { storeLe(bytes.get() + o, n, v); }
    uint8_t* hostPointer(uint64_t o, uint64_t length) override {
      return o + length <= size ? bytes.get() + o : nullptr;
    }
    uint64_t base, size;
    std::unique_ptr<uint8_t[]> bytes;
  };
  std::vector<Part> parts_;
};

// The default board with only `modules`, a timeline of one dispatch step.
inline BoardConfig boardOf(std::vector<std::string> modules) {
  BoardConfig b = defaultBoard();
  b.modules = std::move(modules);
  b.dispatchOrder = b.modules;
  b.timeline = {TimelineStep{}};
  return b;
}

// The quick-transfer answer header fields the fuzzer does not choose freely: bit 0 of
// `seal` makes the header CRC right, bit 1 the data CRC (over at most the area).
inline void sealAnswer(uint8_t* answer, uint8_t seal) {
  constexpr uint32_t kMaxData = 0xFFF00;
  uint32_t length = uint32_t(loadLe(answer + 0x14, 4));
  if (seal & 2) storeLe(answer + 0x1C, 4, zcrc(answer + 0x100, std::min(length, kMaxData)));
  if (seal & 4) storeLe(answer + 0x04, 4, 0x64616776u);   // "vgad"
  if (seal & 1) storeLe(answer, 4, zcrc(answer + 4, 252));
}

// The BMC's side of the quick-transfer channel as the fuzzer plays it: on each trigger the
// chosen answer (header and data) lands in the answer area, sealed as `seal` says; other
// sub-commands of the OEM command go to the board's BMC as before.
class FuzzAnswers {
public:
  FuzzAnswers(BootSession& boot, SplitVideoMemory& vram) : vram_(vram) {
    Bmc::Handler others = boot.bmc().handlerFor(0x36, 0x04);
    boot.bmc().handle(0x36, 0x04, [this, others](const std::vector<uint8_t>& request) -> std::vector<uint8_t> {
      static const std::vector<uint8_t> kTrigger = {0x5B, 0x4E, 0x00, 0x20};
      if (request != kTrigger) return others ? others(request) : std::vector<uint8_t>{0xC1};
      ++triggers;
      uint8_t* area = vram_.area(2 * SplitVideoMemory::kArea);
      std::memset(area, 0, SplitVideoMemory::kArea);
      std::copy_n(answer.begin(), std::min<size_t>(answer.size(), SplitVideoMemory::kArea), area);
      sealAnswer(area, seal);
      return {0x00};
    });
  }
  std::vector<uint8_t> answer;
  uint8_t seal = 0;
  unsigned triggers = 0;

private:
  SplitVideoMemory& vram_;
};

// A session of `modules` on the split video memory with the fuzzer answering the
// quick-transfer channel; start() then dispatches the modules in order.
struct LinkedBoot {
  explicit LinkedBoot(const BoardConfig& board, ResetKind reset = ResetKind::Cold)
      : boot(board, PersistentState{}, BootOptions{ZUB_FIRMWARE_DIR, reset}), answers(boot, vram) {
    boot.machine().memory.add(&vram);
  }
  void start() {
    boot.start();
    SplitVideoMemory::publish(boot);
  }
  void dispatchAll() {
    for (const auto& m : boot.board().modules) boot.dispatcher().dispatch(m);
  }
  SplitVideoMemory vram;
  BootSession boot;
  FuzzAnswers answers;
};

// Reads every byte of [p, p + n) the way a consumer of the data would.
inline uint32_t touch(const void* p, size_t n) {
  const auto* b = static_cast<const volatile uint8_t*>(p);
  uint32_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += b[i];
  return sum;
}

}  // namespace zub::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
