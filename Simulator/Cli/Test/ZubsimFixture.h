// zubsim run in-process with its own folder per test, as the CLI tests use it.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Cli/Zubsim.h"

namespace zub {

struct ZubsimFixture : ::testing::Test {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("zubsim-cli-" + std::to_string(::getpid()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::ostringstream out, err;
  void SetUp() override { std::filesystem::remove_all(dir), std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  // Output and errors of the calls add up in `out` and `err`.
  int zubsim(std::vector<std::string> args) {
    args.insert(args.begin(), "zubsim");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    return zubsimMain(int(argv.size()), argv.data(), out, err);
  }
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

}  // namespace zub
