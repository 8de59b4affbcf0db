// The board's SPI flash: the board file's "flash" section, the BIOS region's first image
// (erased, with the firmware volume of built-in files laid in), and its firmware volumes
// as the PEI services enumerate them.
//
// BIOS region layout (offsets inside the region; the region ends at 4 GB):
//   0x940000-0x9BFFFF  the logo cache area (owned by the firmware)
//   0xA00000-0xAFFFFF  the firmware volume with the built-in files (logos, ...)
// Other ranges are erased unless the board lays bytes there (FlashConfig::regions).
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include <Uefi/UefiBaseType.h>

namespace zub {

class JsonReader;
class PeiCore;
class SpiFlash;
struct BoardConfig;

inline constexpr uint32_t kBuiltInFvOffset = 0xA00000;
inline constexpr uint32_t kBuiltInFvSize = 0x100000;

struct FlashConfig {
  uint32_t biosRegionMb = 16;    // 11-16: the region ends at 4 GB
  uint32_t powerLossAtOp = 0;    // 0: none; N: the power fails during flash operation N
  // Bytes laid into a fresh image, by region offset (a store the board prepares).
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> regions;
};

// A file of the built-in firmware volume: a name and its sections (type, data).
struct BuiltInFile {
  EFI_GUID name;
  uint8_t type;
  std::vector<std::pair<uint8_t, std::vector<uint8_t>>> sections;
};
// The built-in files of this board: the logo table's logo files as raw sections, and the
// setup defaults file (BoardNvram.h).
std::vector<BuiltInFile> builtInFiles(const BoardConfig& board);

// Reads "flash" from the board file's root object.
void parseBoardFlash(JsonReader& root, BoardConfig& board);

// The BIOS region of a board that was never booted: erased, the built-in volume and the
// board's regions laid in.
std::vector<uint8_t> freshFlashImage(const BoardConfig& board);

// Tells the PEI Foundation where the volumes are in the flash mapping.
void publishFirmwareVolumes(PeiCore& core, const SpiFlash& flash);

}  // namespace zub
