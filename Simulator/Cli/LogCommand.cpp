#include "LogCommand.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "Board/PersistentState.h"
#include "Platform/DebugLogWindow.h"

namespace zub {

std::optional<std::string> capturedLogInVram(const std::vector<uint8_t>& vram) {
  if (vram.size() < kLogWindowFromEnd) return std::nullopt;
  return capturedDebugLog(vram.data() + vram.size() - kLogWindowFromEnd, kLogWindowSize);
}

LogCommand::LogCommand(CLI::App& app) {
  log_ = app.add_subcommand("log", "print the PEI debug log captured in video memory by the last boot");
  log_->add_option("--state", state_, "state folder whose vram.bin holds the window")->capture_default_str();
}

bool LogCommand::parsed() const { return log_->parsed(); }

int LogCommand::run(std::ostream& out, std::ostream& err) const {
  PersistentState state;
  try {
    state = PersistentState::load(state_);
  } catch (const std::exception& e) {
    err << "zubsim: " << e.what() << "\n";
    return 2;
  }
  std::optional<std::string> log = capturedLogInVram(state.vram);
  if (!log) {
    err << "zubsim: no debug-log window in " << (state_ / "vram.bin").string()
        << (state.vram.empty() ? " (no video memory saved)" : "") << "\n";
    return 1;
  }
  out << *log;
  return 0;
}

}  // namespace zub
