// What outlives a boot, kept in the state folder: CMOS with the clock (battery-backed),
// the flash image, and video memory (kept across warm and cold resets, lost on an AC
// power loss). Empty vectors mean "never saved": the board's configuration applies.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zub {

enum class ResetKind { Cold, Warm, Ac };
const char* resetKindName(ResetKind kind);
ResetKind resetKindFromName(const std::string& name);   // "warm", "ac", otherwise cold

struct PersistentState {
  std::vector<uint8_t> cmos;
  std::vector<uint8_t> flash;
  std::vector<uint8_t> vram;
  uint32_t boots = 0;           // boots so far with this state
  std::string lastEnd;          // how the last boot ended
  uint64_t flashOperations = 0; // flash erases and writes so far with this state

  // Throws std::runtime_error naming the file when a state file cannot be read or is
  // malformed; writes nothing.
  static PersistentState load(const std::filesystem::path& dir);
  // Writes each file to a temporary name first, then renames it into place.
  void save(const std::filesystem::path& dir) const;
};

}  // namespace zub
