// The board file is strict: every mistake names its key.
#include <gtest/gtest.h>

#include "Board/BoardFile.h"
#include "Platform/PcdDatabase.h"

namespace zub {
namespace {

std::string errorOf(const std::string& json) {
  try {
    parseBoardText(json, "(test)");
  } catch (const BoardFileError& e) {
    return e.key + " | " + e.what();
  }
  return "";
}

TEST(BoardFile, MistakesNameTheirKey) {
  struct Case {
    const char* json;
    const char* key;
    const char* says;
  } cases[] = {
      {R"({"nmae": "x"})", "nmae", "unknown key"},
      {R"({"bmc": {"presnt": true}})", "bmc.presnt", "unknown key"},
      {R"({"bmc": {"present": 1}})", "bmc.present", "expected true or false"},
      {R"({"bmc": []})", "bmc", "expected an object"},
      {R"({"rtc": {"register_d": 256}})", "rtc.register_d", "out of range"},
      {R"({"rtc": {"register_d": "0xZZ"}})", "rtc.register_d", "not an integer"},
      {R"({"rtc": {"time": "2026-13-01"}})", "rtc.time", "YYYY-MM-DD"},
      {R"({"cmos": {"standard": {"0x80": 1}}})", "cmos.standard.0x80", "out of range"},
      {R"({"pcd": {"PcdZubNoSuch": 1}})", "pcd.PcdZubNoSuch", "unknown PCD"},
      {R"({"pcd": {"PcdZubCustomId": 256}})", "pcd.PcdZubCustomId", "out of range"},
      {R"({"pcd": {"PcdZubBmcShareIpv4": "255.255.255.255.255"}})", "pcd.PcdZubBmcShareIpv4", "the PCD holds 16"},
      {R"({"nvram": [{"name": "A", "guid": "nope"}]})", "nvram[0].guid", "registry format"},
      {R"({"nvram": [{"name": "A", "guid": "8BE4DF61-93CA-11D2-AA0D-00E098032B8C", "data": "ABC"}]})",
       "nvram[0].data", "odd number"},
      {R"({"timeline": [{"dispatch": true, "wait_us": 5}]})", "timeline[0]", "exactly one"},
      {R"({"timeline": [{"install": "warp-drive"}]})", "timeline[0].install", "is not one of"},
      {R"({"timeline": [{"status_code": {"value": -1}}]})", "timeline[0].status_code.value", "negative"},
      {R"({"video_memory_mb": 24})", "video_memory_mb", "power of two"},
      {R"([1, 2])", "(board)", "JSON object"},
      {R"({"name": )", "(test)", "not valid JSON"},
  };
  for (const auto& c : cases) {
    std::string e = errorOf(c.json);
    EXPECT_EQ(e.substr(0, e.find(" | ")), c.key) << c.json;
    EXPECT_NE(e.find(c.says), std::string::npos) << c.json << " -> " << e;
  }
}

TEST(BoardFile, ValuesReachTheConfiguration) {
  BoardConfig b = parseBoardText(R"({
    "name": "t", "cpu": {"cpuid_leaf1_eax": "0x50654"},
    "rtc": {"time": "2021-03-01 13:05:09", "binary": true, "hour24": false, "register_d": 0},
    "cmos": {"standard": {"0x73": "0x12"}, "upper": {"0x54": 64}},
    "nvram": [{"name": "ZubMiscCfg", "guid": "8BE4DF61-93CA-11D2-AA0D-00E098032B8C", "data": "01 02 03"}],
    "pcd": {"PcdZubCustomId": 10, "PcdZubBmcShareIpv4": "10.0.0.2", "PcdZubVgaWarningShown": true},
    "timeline": [{"status_code": {"value": "0xFFFFFFFF", "u32": "0x2004"}}, {"wait_us": 7}]
  })", "(test)");
  EXPECT_EQ(b.cpuid[1].eax, 0x50654u);
  EXPECT_EQ(b.rtc.startEpoch, 1614603909);
  EXPECT_TRUE(b.rtc.binary);
  EXPECT_FALSE(b.rtc.hour24);
  EXPECT_EQ(b.cmosStandard.at(0x73), 0x12);
  EXPECT_EQ(b.cmosUpper.at(0x54), 64);
  ASSERT_EQ(b.nvram.size(), 1u);
  EXPECT_EQ(b.nvram[0].name, u"ZubMiscCfg");
  EXPECT_EQ(b.nvram[0].data, (std::vector<uint8_t>{1, 2, 3}));
  ASSERT_EQ(b.pcds.size(), 3u);
  ASSERT_EQ(b.timeline.size(), 2u);
  EXPECT_EQ(b.timeline[0].payload, (std::vector<uint8_t>{0x04, 0x20, 0, 0}));
  EXPECT_EQ(b.timeline[1].waitNs, 7000u);
}

TEST(BoardFile, DefaultBoardParsesAndChangesMergeIntoIt) {
  BoardConfig d = defaultBoard();
  EXPECT_EQ(d.name, "default");
  BoardConfig b = boardWith({{"bmc", {{"present", false}}}, {"name", "no-bmc"}});
  EXPECT_FALSE(b.bmc.present);
  EXPECT_EQ(b.name, "no-bmc");
  EXPECT_EQ(b.pcds.size(), d.pcds.size()) << "untouched sections stay";
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

TEST(BoardFile, PciFunctionsAndTheirMistakes) {
  BoardConfig b = parseBoardText(R"({"pci": {"behind_root_port": [
      {"bridge": true, "vendor_id": "0x1A03", "device_id": "0x1150", "class_code": "0x060400",
       "children": [{"vendor_id": "0x1A03", "device_id": "0x2000", "class_code": "0x030000",
                     "bars": ["0x4000000", "0x20000"], "model": "ast2500"}]}],
      "bus0": [{"device": 2, "vendor_id": "0x8086", "device_id": "0x1234", "class_code": "0x010000"}]}})",
                                 "(test)");
  ASSERT_TRUE(b.behindRootPort.has_value());
  ASSERT_EQ(b.behindRootPort->at(0).children.size(), 1u);
  EXPECT_EQ(b.behindRootPort->at(0).children[0].barSizes, (std::vector<uint32_t>{0x4000000, 0x20000}));
  EXPECT_EQ(b.moreOnBus0.at(0).device, 2);
  for (auto [json, key] : {std::pair{R"({"pci": {"bus0": [{"bars": [3]}]}})", "pci.bus0[0].bars[0]"},
                           std::pair{R"({"pci": {"bus0": [{"device": 32}]}})", "pci.bus0[0].device"},
                           std::pair{R"({"pci": {"bus0": [{"colour": 1}]}})", "pci.bus0[0].colour"}}) {
    try {
      parseBoardText(json, "(test)");
      ADD_FAILURE() << json;
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key, key);
    }
  }
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

TEST(BoardFile, BmcBootOptions) {
  BoardConfig b = parseBoardText(R"({"bmc": {"boot_options": {"set_in_progress_polls": 3, "acknowledge": 2,
      "boot_flags": "80 18 00 00 00", "oem_flag": 1, "oem_boot_mode": 1, "evort_failures": 4}}})", "(test)");
  EXPECT_EQ(b.bmcBootOptions.setInProgressPolls, 3u);
  EXPECT_EQ(b.bmcBootOptions.bootFlags[1], 0x18);
  EXPECT_EQ(b.bmcBootOptions.oemBootMode, 1);
  EXPECT_EQ(b.bmcBootOptions.evortFailures, 4u);
  try {
    parseBoardText(R"({"bmc": {"boot_options": {"boot_flags": "80 18"}}})", "(test)");
    ADD_FAILURE();
  } catch (const BoardFileError& e) {
    EXPECT_EQ(e.key, "bmc.boot_options.boot_flags");
  }
}

}  // namespace
}  // namespace zub
