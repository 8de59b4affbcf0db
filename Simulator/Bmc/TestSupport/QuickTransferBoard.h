// Test support: a boot with the IPMI relay and the quick-transfer module on the board's
// BMC, and video memory of its own at 0x90000000 (claimed before any PCI decoder), with
// the VGA PCDs set the way the video bring-up sets them.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Bmc/QuickTransferLayout.h"
#include "Machine/MemoryMap.h"

#include <ZubPcdTokens.h>

namespace zub::test {

class VideoRam : public MemoryDevice {
public:
  explicit VideoRam(size_t size) : bytes(size, 0) {}
  uint64_t read(uint64_t offset, unsigned n) override { return loadLe(bytes.data() + offset, n); }
  void write(uint64_t offset, unsigned n, uint64_t v) override { storeLe(bytes.data() + offset, n, v); }
  uint8_t* hostPointer(uint64_t offset, uint64_t length) override {
    return offset + length <= bytes.size() ? bytes.data() + offset : nullptr;
  }
  std::vector<uint8_t> bytes;
};

inline uint32_t zcrc(const uint8_t* p, size_t n) { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n))); }

struct QuickTransferBoot {
  static constexpr uint64_t kBase = 0x90000000, kSize = 16u << 20;

  // modules: dispatched in this order after start(); mapped: whether video memory exists.
  explicit QuickTransferBoot(BoardConfig b, std::vector<std::string> modules = {"IpmiRelayPei", "VramLinkPei"},
                             bool mapped = true)
      : board(withModules(std::move(b), modules)), vram(kSize), range(kBase, kSize, &vram), boot(board, {}) {
    if (mapped) boot.machine().memory.add(&range);
    boot.platform().pcd.setNumber(PcdZubVgaMemoryBase_TOKEN, kBase);
    boot.platform().pcd.setNumber(PcdZubVgaMemorySize_TOKEN, kSize);
    boot.start();
    for (const auto& m : modules) boot.dispatcher().dispatch(m);
  }
  static BoardConfig withModules(BoardConfig b, const std::vector<std::string>& modules) {
    b.modules = modules;
    b.timeline = {TimelineStep{}};
    return b;
  }

  uint8_t* request() { return vram.bytes.data() + kSize - qt::kRequestFromEnd; }
  uint8_t* answer() { return vram.bytes.data() + kSize - qt::kAnswerFromEnd; }
  uint32_t u32(const uint8_t* p, unsigned at) { return static_cast<uint32_t>(loadLe(p + at, 4)); }
  const std::string& log() { return boot.platform().debug.log(); }
  size_t count(const std::string& text) {
    size_t n = 0;
    for (size_t at = log().find(text); at != std::string::npos; at = log().find(text, at + 1)) ++n;
    return n;
  }
  size_t triggers() { return boot.events().ofType("ipmi_request").size(); }

  BoardConfig board;
  VideoRam vram;
  FixedRange range;
  BootSession boot;
};

}  // namespace zub::test
