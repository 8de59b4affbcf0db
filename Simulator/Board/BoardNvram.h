// The platform's NVRAM on the board: the variable store in the SPI flash (NVAR records,
// with "StdDefaults" holding the setup defaults), the NVRAM HOB that points the firmware at
// it, the defaults file with the pristine "StdDefaults" record in the built-in firmware
// volume, and the PRE_RESET_CALLBACK_PPI instances that record their calls.
//
// Board file: "nvram_store" {"present", "offset", "size", "identity" | "records",
// "defaults_file"} and "pre_reset_callbacks" (the number of instances).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "BoardFlash.h"

namespace zub {

class EventLog;
class JsonReader;
class PeiCore;
class PreResetCallbacks;
class SpiFlash;
struct BoardConfig;

// BIOS-region offset and size of the store (below the logo cache area).
inline constexpr uint32_t kNvramStoreOffset = 0x800000;
inline constexpr uint32_t kNvramStoreSize = 0x40000;

struct NvramStoreConfig {
  bool present = true;
  uint32_t offset = kNvramStoreOffset;
  uint32_t size = kNvramStoreSize;
  std::vector<uint8_t> image;        // the store as a fresh flash holds it
  std::vector<uint8_t> pristine;     // the defaults file's "StdDefaults" record; empty: no file
  uint32_t preResetCallbacks = 2;
};

// Reads "nvram_store" and "pre_reset_callbacks" (after "flash": the store is laid into the
// fresh flash image).
void parseBoardNvram(JsonReader& root, BoardConfig& board);

// The defaults file (a raw section with the pristine "StdDefaults" record), when the board
// has one.
std::vector<BuiltInFile> setupDefaultsFiles(const BoardConfig& board);

// The board's part of one boot: at the start of PEI the NVRAM HOB is created and the
// pre-reset callbacks are installed.
class BoardNvram {
public:
  BoardNvram(const BoardConfig& board, EventLog& events);
  ~BoardNvram();
  void start(PeiCore& core, const SpiFlash& flash);
  PreResetCallbacks& preResetCallbacks() { return *callbacks_; }

private:
  const NvramStoreConfig& config_;
  std::unique_ptr<PreResetCallbacks> callbacks_;
};

}  // namespace zub
