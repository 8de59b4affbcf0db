#include "BoardFlash.h"

#include <algorithm>

#include <Pi/PiFirmwareVolume.h>

#include "BoardConfig.h"
#include "Devices/SpiFlash.h"
#include "Foundation/FirmwareVolume.h"
#include "Foundation/PeiCore.h"
#include "JsonReader.h"
#include "LogoImages.h"

namespace zub {

namespace {

constexpr uint32_t kMinRegionMb = (kBuiltInFvOffset + kBuiltInFvSize) >> 20;

// The logo table of the firmware: per OEM selector 0/1 and 2, the early, second and
// third logo files.
struct LogoFile {
  EFI_GUID name;
  const char* text;
  uint32_t background, foreground;
};
const LogoFile kLogoFiles[] = {
    {{0xB976FAA2, 0x6181, 0x41FA, {0xA9, 0xBC, 0x5A, 0xD5, 0x4B, 0x8E, 0x02, 0xF5}}, "ZUB", 0x00002060, 0x00FFFFFF},
    {{0x282FE8C0, 0xFD6E, 0x4D75, {0xB6, 0x47, 0x33, 0x1F, 0x40, 0x16, 0xAB, 0x7B}}, "ZUB POST", 0x00002060, 0x00FFFFFF},
    {{0xCCD79841, 0x34CA, 0x4257, {0x82, 0x65, 0x96, 0xD2, 0x1C, 0xF1, 0x04, 0x38}}, "ZUB QUIET", 0x00002060, 0x00FFFFFF},
    {{0x09104A1D, 0x7160, 0x418B, {0x85, 0xD8, 0xF5, 0xBC, 0xAB, 0x2F, 0x0C, 0x72}}, "ZUB-2", 0x00004020, 0x0080FF80},
    {{0x9A4671BB, 0xC6D2, 0x4BE2, {0x83, 0x2C, 0xE3, 0xE6, 0x4E, 0x9B, 0x9C, 0xC0}}, "ZUB-2 POST", 0x00004020, 0x0080FF80},
    {{0xEF6E9DBF, 0x1255, 0x435C, {0xB5, 0x92, 0x65, 0xFE, 0x78, 0x24, 0x76, 0x2E}}, "ZUB-2 QUIET", 0x00004020, 0x0080FF80},
};

}  // namespace

std::vector<BuiltInFile> builtInFiles(const BoardConfig& board) {
  std::vector<BuiltInFile> files;
  for (const auto& l : kLogoFiles)
    files.push_back({l.name, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_RAW, textLogo(l.text, l.background, l.foreground, 4)}}});
  for (auto& f : setupDefaultsFiles(board)) files.push_back(std::move(f));
  return files;
}

void parseBoardFlash(JsonReader& root, BoardConfig& board) {
  JsonReader r = root.object("flash");
  FlashConfig& f = board.flash;
  f.biosRegionMb = uint32_t(r.integer("bios_region_mb", f.biosRegionMb, kMinRegionMb, 16));
  f.powerLossAtOp = uint32_t(r.integer("power_loss_at_op", f.powerLossAtOp, 0, 0xFFFFFFFF));
}

std::vector<uint8_t> freshFlashImage(const BoardConfig& board) {
  std::vector<uint8_t> image(size_t(board.flash.biosRegionMb) << 20, 0xFF);
  FirmwareVolumeBuilder fv;
  for (const auto& f : builtInFiles(board)) fv.addFile(f.name, f.type, f.sections);
  std::vector<uint8_t> volume = fv.build(kBuiltInFvSize);
  if (volume.size() > kBuiltInFvSize) throw std::runtime_error("the built-in files overflow their firmware volume");
  std::copy(volume.begin(), volume.end(), image.begin() + kBuiltInFvOffset);
  for (const auto& [offset, bytes] : board.flash.regions) {
    if (offset > image.size() || bytes.size() > image.size() - offset)
      throw std::runtime_error("a flash region of the board runs past the BIOS region");
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
  }
  return image;
}

void publishFirmwareVolumes(PeiCore& core, const SpiFlash& flash) {
  core.addFirmwareVolume(flash.base() + kBuiltInFvOffset, kBuiltInFvSize);
}

}  // namespace zub
