// A board for the console's tests: the real module images on the simulated board, with
// plain memory standing in for video memory at 0x90000000 where a test needs no device.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <Ppi/EarlyVgaDisplay.h>
#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/PciEndpoint.h"

namespace zub::vgatest {

inline constexpr uint32_t kVideoBase = 0x90000000;
inline constexpr uint32_t kVideoSize = 16u << 20;
inline constexpr size_t kFrameBytes = 800 * 600 * 4;

inline std::vector<uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// TextConsolePei dispatched on a board whose video memory is plain memory.
class ConsoleBoard {
public:
  explicit ConsoleBoard(std::vector<std::string> modules = {"TextConsolePei"}) {
    BoardConfig b = defaultBoard();
    b.modules = std::move(modules);
    b.timeline = {TimelineStep{}};
    boot = std::make_unique<BootSession>(b, PersistentState{});
    boot->start();
    boot->machine().memory.add(&window);
    boot->platform().pcd.setNumber(PcdZubVgaMemoryBase_TOKEN, kVideoBase);
  }

  EARLY_VGA_DISPLAY_PPI* display() {
    if (!boot->dispatcher().records().size()) boot->dispatcher().dispatch("TextConsolePei");
    return boot->locate<EARLY_VGA_DISPLAY_PPI>(gEarlyVgaDisplayPpiGuid);
  }

  uint8_t* bytes() { return vram.hostPointer(0, kVideoSize); }
  uint32_t* pixels() { return reinterpret_cast<uint32_t*>(bytes()); }
  uint32_t pixel(unsigned x, unsigned y) { return pixels()[y * 800 + x]; }
  void fill(uint32_t value) { std::fill_n(pixels(), kVideoSize / 4, value); }

  BarMemory vram{kVideoSize};
  FixedRange window{kVideoBase, kVideoSize, &vram};
  std::unique_ptr<BootSession> boot;
};

}  // namespace zub::vgatest
