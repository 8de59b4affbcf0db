// Every scenario of boards/scenarios reaches the outcome its .expect.json names.
#include <gtest/gtest.h>

#include <filesystem>

#include "Scenario/Scenario.h"

namespace fs = std::filesystem;

namespace zub {
namespace {

std::vector<std::string> scenarioNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(ZUB_SCENARIO_DIR)) {
    std::string f = e.path().filename().string();
    const std::string suffix = ".expect.json";
    if (f.size() > suffix.size() && f.compare(f.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(f.substr(0, f.size() - suffix.size()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, ReachesItsOutcome) {
  fs::path dir = ZUB_SCENARIO_DIR;
  for (const auto& p : runScenario(dir / (GetParam() + ".json"), dir / (GetParam() + ".expect.json"), ZUB_FIRMWARE_DIR))
    ADD_FAILURE() << p;
}

INSTANTIATE_TEST_SUITE_P(Boards, Scenario, ::testing::ValuesIn(scenarioNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

// A scenario board without expectations would never be checked.
TEST(Scenarios, EveryBoardHasItsExpectations) {
  for (const auto& e : fs::directory_iterator(ZUB_SCENARIO_DIR)) {
    std::string f = e.path().filename().string();
    if (e.path().extension() != ".json" || f.find(".expect.json") != std::string::npos) continue;
    EXPECT_TRUE(fs::exists(e.path().parent_path() / (e.path().stem().string() + ".expect.json"))) << f;
  }
}

}  // namespace
}  // namespace zub
