// zubsim: boots the simulated board. Commands are functions of their parsed options so that
// tests run them in-process.
#pragma once
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Board/PersistentState.h"

namespace zub {

struct CommonOptions {
  std::optional<std::filesystem::path> board;   // the default board when absent
  std::filesystem::path state = "zubsim-state";
  std::filesystem::path out = "zubsim-out";
  std::filesystem::path firmware = ZUB_FIRMWARE_DIR;
};

// Boots once, or `boots` times in a row, each boot beginning the way the previous ended.
// Returns the process exit code; progress and errors go to the streams.
int runBoots(const CommonOptions& options, ResetKind firstReset, unsigned boots, std::ostream& out, std::ostream& err);

int zubsimMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zub
