// zubsim: boots the simulated board. Commands are functions of their parsed options so that
// tests run them in-process.
#pragma once
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Board/BootSession.h"
#include "Board/PersistentState.h"

namespace zub {

struct CommonOptions {
  std::optional<std::filesystem::path> board;   // the default board when absent
  std::filesystem::path state = "zubsim-state";
  std::filesystem::path out = "zubsim-out";
  std::filesystem::path firmware = ZUB_FIRMWARE_DIR;
  // The power fails during this flash operation of the boot (0: never); unset: the board's.
  std::optional<uint32_t> powerLossAtFlashOp;
};

// How the next boot begins after a boot ended this way.
ResetKind nextReset(BootEndKind end);
std::string formatMs(uint64_t ns);

// Loads the board (the default board without --board) and the state folder; on an error
// writes one message and returns the exit code 2.
int loadBoardAndState(const CommonOptions& options, BoardConfig& board, PersistentState& state, std::ostream& err);

// Runs one boot from `state`, writes its outputs to `dir` (none when empty), lets `inspect`
// look at the session, and saves the state after it (to the state folder unless its path
// is empty) into `state`. Returns 0, or 2 with a message when the boot could not run.
int bootOnce(const BoardConfig& board, PersistentState& state, const CommonOptions& options, ResetKind reset,
             const std::filesystem::path& dir, BootResult& result, std::ostream& err,
             const std::function<void(BootSession&)>& inspect = {});

// Boots once, or `boots` times in a row, each boot beginning the way the previous ended.
// Returns the process exit code; progress and errors go to the streams.
int runBoots(const CommonOptions& options, ResetKind firstReset, unsigned boots, std::ostream& out, std::ostream& err);

int zubsimMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zub
