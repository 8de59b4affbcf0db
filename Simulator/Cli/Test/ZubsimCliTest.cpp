// zubsim as a user runs it: outputs, state carried between boots, clear errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ZubsimFixture.h"

namespace fs = std::filesystem;

namespace zub {
namespace {

struct Cli : ZubsimFixture {};

TEST_F(Cli, BootWritesTheOutputsAndTheState) {
  ASSERT_EQ(zubsim({"boot", "--state", (dir / "s").string(), "--out", (dir / "o").string()}), 0) << err.str();
  for (const char* f : {"debug.log", "events.jsonl", "summary.json"}) EXPECT_TRUE(fs::exists(dir / "o" / f)) << f;
  auto summary = nlohmann::json::parse(read(dir / "o" / "summary.json"));
  EXPECT_EQ(summary["ended"], "completed");
  std::istringstream events(read(dir / "o" / "events.jsonl"));
  for (std::string line; std::getline(events, line);) EXPECT_TRUE(nlohmann::json::accept(line)) << line;
  EXPECT_EQ(nlohmann::json::parse(read(dir / "s" / "state.json"))["boots"], 1);
}

TEST_F(Cli, RunBootsInARowCarryingTheState) {
  ASSERT_EQ(zubsim({"run", "--boots", "3", "--state", (dir / "s").string(), "--out", (dir / "o").string()}), 0)
      << err.str();
  for (int n = 1; n <= 3; ++n) EXPECT_TRUE(fs::exists(dir / "o" / ("boot-" + std::to_string(n)) / "summary.json"));
  EXPECT_EQ(nlohmann::json::parse(read(dir / "s" / "state.json"))["boots"], 3);
  auto last = nlohmann::json::parse(read(dir / "o" / "boot-3" / "summary.json"));
  EXPECT_EQ(last["boot"], 3);
  EXPECT_EQ(last["reset"], "cold") << "a completed boot is followed by a cold restart";
  int lines = 0;
  for (char c : out.str()) lines += c == '\n';
  EXPECT_EQ(lines, 3) << "one progress line per boot";
}

TEST_F(Cli, LogPrintsWhatTheBootCapturedInVideoMemory) {
  EXPECT_EQ(zubsim({"log", "--state", (dir / "none").string()}), 1);
  EXPECT_NE(err.str().find("no debug-log window"), std::string::npos) << err.str();
  ASSERT_EQ(zubsim({"boot", "--state", (dir / "s").string(), "--out", (dir / "o").string()}), 0) << err.str();
  out.str("");
  ASSERT_EQ(zubsim({"log", "--state", (dir / "s").string()}), 0) << err.str();
  std::string captured = out.str(), printed = read(dir / "o" / "debug.log");
  ASSERT_GT(captured.size(), 1000u);
  EXPECT_LT(captured.size(), printed.size()) << "the window is declared during PEI, not at its start";
  EXPECT_EQ(printed.substr(printed.size() - captured.size()), captured) << "everything since the window was declared";
}

TEST_F(Cli, ABadBoardFileNamesTheKeyAndLeavesTheStateUntouched) {
  ASSERT_EQ(zubsim({"boot", "--state", (dir / "s").string(), "--out", (dir / "o").string()}), 0);
  std::string before = read(dir / "s" / "cmos.bin") + read(dir / "s" / "state.json");
  auto stamp = fs::last_write_time(dir / "s" / "state.json");
  struct Case {
    const char* content;
    const char* says;
  } cases[] = {
      {R"({"bmc": {"present": "yes"}})", "bmc.present"},
      {R"({"rtc": {"register_d": 999}})", "rtc.register_d"},
      {R"({"no_such_key": 1})", "no_such_key"},
      {R"({"firmware": {"modules": ["NoSuchPei"]}})", "unknown module: NoSuchPei"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir / "bad.json") << c.content;
    err.str("");
    EXPECT_NE(zubsim({"boot", "--board", (dir / "bad.json").string(), "--state", (dir / "s").string(), "--out",
                      (dir / "o2").string()}),
              0);
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_EQ(read(dir / "s" / "cmos.bin") + read(dir / "s" / "state.json"), before);
    EXPECT_EQ(fs::last_write_time(dir / "s" / "state.json"), stamp);
  }
}

TEST_F(Cli, UsageErrorsAndHelp) {
  EXPECT_NE(zubsim({}), 0);
  EXPECT_NE(zubsim({"boot", "--board", (dir / "missing.json").string()}), 0);
  EXPECT_NE(zubsim({"boot", "--reset", "sideways"}), 0);
  EXPECT_NE(zubsim({"run"}), 0) << "--boots is required";
  out.str("");
  EXPECT_EQ(zubsim({"boot", "--help"}), 0);
  for (const char* o : {"--board", "--state", "--out", "--reset"}) EXPECT_NE(out.str().find(o), std::string::npos) << o;
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

TEST_F(Cli, VideoMemoryOutlivesWarmAndColdResetsButNotAnAcPowerLoss) {
  auto s = (dir / "s").string(), o = (dir / "o").string();
  ASSERT_EQ(zubsim({"boot", "--state", s, "--out", o}), 0) << err.str();
  ASSERT_TRUE(fs::exists(dir / "s" / "vram.bin"));
  // What the BMC (or a module) leaves at the top of video memory is found on the next boot.
  {
    std::fstream f(dir / "s" / "vram.bin", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(-16, std::ios::end);
    f.write("persistent-bytes", 16);
  }
  auto tail = [&] {
    std::string v = read(dir / "s" / "vram.bin");
    return v.substr(v.size() - 16);
  };
  for (const char* reset : {"warm", "cold"}) {
    ASSERT_EQ(zubsim({"boot", "--reset", reset, "--state", s, "--out", o}), 0);
    EXPECT_EQ(tail(), "persistent-bytes") << reset;
  }
  ASSERT_EQ(zubsim({"boot", "--reset", "ac", "--state", s, "--out", o}), 0);
  EXPECT_EQ(tail(), std::string(16, '\0'));
}

TEST_F(Cli, EveryBoardFileOfTheProjectBoots) {
  for (const auto& e : fs::directory_iterator(fs::path(ZUB_SOURCE_DIR) / "boards")) {
    if (e.path().extension() != ".json") continue;
    EXPECT_EQ(zubsim({"boot", "--board", e.path().string(), "--state", (dir / e.path().stem()).string(), "--out",
                      (dir / "o" / e.path().stem()).string()}),
              0)
        << e.path() << err.str();
    auto summary = nlohmann::json::parse(read(dir / "o" / e.path().stem() / "summary.json"));
    EXPECT_EQ(summary["ended"], "completed") << e.path();
  }
}

}  // namespace
}  // namespace zub
