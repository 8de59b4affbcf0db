// The board file's BMC keys are strict: each error names its key.
#include <gtest/gtest.h>

#include "Board/BoardFile.h"

namespace zub {
namespace {

TEST(BmcBoardKeys, ErrorsNameTheKey) {
  struct Case {
    nlohmann::json bmc;
    const char* key;
  } cases[] = {
      {{{"quick_transfer", {{"bogus", 1}}}}, "bmc.quick_transfer"},
      {{{"quick_transfer", {{"corrupt_header_crc", 3}}}}, "bmc.quick_transfer.corrupt_header_crc"},
      {{{"pei_param", {{"dedicated_ipv4", "123.123.123.12345"}}}}, "bmc.pei_param.dedicated_ipv4"},
      {{{"pei_param", {{"data_length", 189}}}}, "bmc.pei_param.data_length"},
      {{{"files", {{{"name", "a"}}}}}, "bmc.files[0]"},
      {{{"files", {{{"name", ""}, {"text", "x"}}}}}, "bmc.files[0].name"},
  };
  for (const auto& c : cases) {
    try {
      boardWith({{"bmc", c.bmc}});
      ADD_FAILURE() << "accepted " << c.bmc.dump();
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key.rfind(c.key, 0), 0u) << e.what();
    }
  }
}

TEST(BmcBoardKeys, DefaultBoardServesAParameterBlockWithTwoPorts) {
  BoardConfig b = defaultBoard();
  ASSERT_EQ(b.bmc.peiParam.size(), 188u);
  EXPECT_STRNE(reinterpret_cast<const char*>(b.bmc.peiParam.data() + 0x14), "");
  EXPECT_STRNE(reinterpret_cast<const char*>(b.bmc.peiParam.data() + 0x64), "");
}

}  // namespace
}  // namespace zub
