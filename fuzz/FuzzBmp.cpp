// DrawBmp of TextConsolePei: a BMP image as a logo file or the flash cache delivers it.
// Input: a flags byte (bit 0: centred), X and Y (16 bits each), then the file. The file
// lies in a buffer exactly as long as its header's file size says, the size that callers
// check against what they received; shorter inputs than that are not a call DrawBmp gets.
#include <Ppi/EarlyVgaDisplay.h>

#include "FuzzBoard.h"

namespace zub::fuzz {
namespace {

struct Console {
  Console() : boot(boardOf({"TextConsolePei"}), PersistentState{}) {
    boot.machine().memory.add(&vram);
    boot.start();
    SplitVideoMemory::publish(boot);
    boot.dispatcher().dispatch("TextConsolePei");
    display = boot.locate<EARLY_VGA_DISPLAY_PPI>(gEarlyVgaDisplayPpiGuid);
  }
  SplitVideoMemory vram;
  BootSession boot;
  EARLY_VGA_DISPLAY_PPI* display = nullptr;
};

}  // namespace
}  // namespace zub::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub::fuzz;
  static Console console;
  FuzzInput in(data, size);
  uint8_t flags = in.u8();
  uint16_t x = in.u16(), y = in.u16();
  std::vector<uint8_t> file = in.rest();
  if (file.size() < 6) return 0;
  uint32_t declared = uint32_t(zub::loadLe(file.data() + 2, 4));
  if (declared > file.size()) return 0;
  std::unique_ptr<uint8_t[]> exact(new uint8_t[std::max<uint32_t>(declared, 6)]);
  std::memcpy(exact.get(), file.data(), std::max<uint32_t>(declared, 6));
  console.display->DrawBmp(console.display, x, y, (flags & 1) ? TRUE : FALSE, exact.get());
  return 0;
}
