// Every module image exports exactly its entry point and imports only the machine's
// instruction set and the compiler's mem* functions.
#include <gtest/gtest.h>

#include <filesystem>

#include "ElfSymbols.h"
#include "Foundation/Edk2Files.h"

namespace fs = std::filesystem;
using zub::test::readDynamicSymbols;

namespace {

std::vector<fs::path> images() {
  std::vector<fs::path> out;
  for (const char* dir : {ZUB_FIRMWARE_DIR, ZUB_TEST_FIRMWARE_DIR})
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().extension() == ".inf") out.push_back(e.path());
  return out;
}

TEST(ImageSymbols, EachImageExportsItsEntryAndImportsOnlyTheMachine) {
  auto machine = readDynamicSymbols(fs::path(ZUB_FIRMWARE_DIR) / "libZubMachine.so");
  ASSERT_TRUE(machine.imports.empty()) << "the machine library itself imports nothing";
  std::set<std::string> allowed = machine.exports;
  allowed.insert({"memcpy", "memset", "memmove", "memcmp"});
  allowed.erase("ZubMachineAttachBus");   // the board's call, not an instruction

  auto infs = images();
  ASSERT_GE(infs.size(), 2u);
  for (const auto& inf : infs) {
    auto m = zub::readModuleInf(inf);
    fs::path so = inf;
    so.replace_extension(".so");
    auto syms = readDynamicSymbols(so);
    EXPECT_EQ(syms.exports, std::set<std::string>{m.entryPoint}) << so;
    for (const auto& s : syms.imports) EXPECT_TRUE(allowed.count(s)) << so << " imports " << s;
    EXPECT_EQ(syms.needed, std::set<std::string>{"libZubMachine.so"}) << so;
  }
}

}  // namespace
