// `zubsim nvram build DESC.json OUT.bin`: an NVRAM store from a description (the format of
// the board file's "nvram_store.records", see Board/NvramDescription.h).
// `zubsim nvram dump FILE [--offset N] [--size N]`: the records of any store, nested
// stores included, with their flags, names, data sizes, where the walk stopped and why,
// and the Next chains.
#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace zub {

// The dump of a store as text.
std::string dumpNvramStore(const uint8_t* store, size_t size);

class NvramCommand {
public:
  explicit NvramCommand(CLI::App& app);
  bool parsed() const;
  int run(std::ostream& out, std::ostream& err) const;

private:
  CLI::App* nvram_;
  CLI::App* build_;
  CLI::App* dump_;
  std::filesystem::path description_, output_, file_;
  uint64_t offset_ = 0, size_ = 0;
};

}  // namespace zub
