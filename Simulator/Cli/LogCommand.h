// `zubsim log [--state DIR]`: the PEI debug log that the last boot captured in video
// memory (the window in the fourth megabyte from the end), as the next phase would find it.
#pragma once
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zub {

inline constexpr size_t kLogWindowFromEnd = 0x400000, kLogWindowSize = 0x100000;

// The log held in a video memory image, or nullopt when no window is declared there.
std::optional<std::string> capturedLogInVram(const std::vector<uint8_t>& vram);

class LogCommand {
public:
  explicit LogCommand(CLI::App& app);
  bool parsed() const;
  int run(std::ostream& out, std::ostream& err) const;

private:
  CLI::App* log_;
  std::filesystem::path state_ = "zubsim-state";
};

}  // namespace zub
