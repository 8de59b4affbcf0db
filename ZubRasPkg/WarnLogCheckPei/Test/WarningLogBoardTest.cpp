// The warning log on the board: the board file's "warning_log" section, the bytes it puts
// into the reference code's host data, and the check points of the default timeline (the
// example boards in boards/scenarios are checked by the scenario test).
#include <gtest/gtest.h>

#include <cstring>

#include <RefCode/RcHostPointerTable.h>
#include <RefCode/RcSysHost.h>
#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Ast2500Screen.h"

namespace zub {
namespace {

using json = nlohmann::json;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

TEST(WarningLogBoard, EntriesAreWrittenBackToBackAtTheLogOffsets) {
  BoardConfig b = boardWith({{"warning_log",
                              {{"entries",
                                {{{"type", 1}, {"major", "0x13"}, {"minor", 2},
                                  {"location", {{"socket", 1}, {"channel", 3}, {"dimm", 1}, {"rank", 2}}},
                                  {"detail", "AA BB"}},
                                 {{"type", "0x10"}, {"major", 1}, {"data", "01 02 03"}, {"size", 40}},
                                 {{"raw", "07 00 00 00 0E 00 00 00 00 00 00 00 05 06"}}}},
                               {"mem_warning", 3}}}});
  BootSession s(b, {});
  auto& host = s.referenceCode().sysHost();
  ASSERT_EQ(host.size(), size_t(RC_SYSHOST_SIZE));
  // The host data is what the pointer table in MMX register 7 names first.
  s.start();
  EXPECT_EQ(reinterpret_cast<const RC_HOST_POINTER_TABLE*>(uintptr_t(s.machine().mm7))->SysHost, uintptr_t(host.data()));
  const size_t at = RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET;
  const std::vector<uint8_t> first = {1, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0x13, 2, 1, 3, 1, 2, 0xAA, 0xBB};
  const std::vector<uint8_t> second = {0x10, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3};
  const std::vector<uint8_t> third = {7, 0, 0, 0, 14, 0, 0, 0, 0, 0, 0, 0, 5, 6};
  EXPECT_EQ(std::vector<uint8_t>(host.begin() + at, host.begin() + at + 20), first);
  EXPECT_EQ(std::vector<uint8_t>(host.begin() + at + 20, host.begin() + at + 37), second)
      << "a size field that differs from the bytes written";
  EXPECT_EQ(std::vector<uint8_t>(host.begin() + at + 37, host.begin() + at + 51), third);
  EXPECT_EQ(le32(host, RC_SYSHOST_EWL_USED_SIZE_OFFSET), 51u) << "the used size counts entry bytes";
  EXPECT_EQ(host[RC_SYSHOST_MEM_WARNING_OFFSET], 3);
  EXPECT_EQ(host[at + 51], 0);

  BootSession d(defaultBoard(), {});
  EXPECT_EQ(le32(d.referenceCode().sysHost(), RC_SYSHOST_EWL_USED_SIZE_OFFSET), 0u) << "the default log is empty";
  BoardConfig over = boardWith({{"warning_log", {{"used_size", "0xFFFFFFFF"}}}});
  BootSession o(over, {});
  EXPECT_EQ(le32(o.referenceCode().sysHost(), RC_SYSHOST_EWL_USED_SIZE_OFFSET), 0xFFFFFFFFu);
}

TEST(WarningLogBoard, MalformedValuesNameTheKey) {
  const uint32_t area = RC_SYSHOST_EWL_AREA_END_OFFSET - RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET;
  struct Case { json log; const char* key; } cases[] = {
      {{{"entries", {{{"major", 1}}}}}, "warning_log.entries[0].type"},
      {{{"entries", {{{"type", 1}, {"major", 256}}}}}, "warning_log.entries[0].major"},
      {{{"entries", {{{"type", 1}}, {{"raw", "01"}, {"type", 1}}}}}, "warning_log.entries[1].type"},
      {{{"entries", {{{"type", 1}, {"data", "01"}, {"detail", "02"}}}}}, "warning_log.entries[0].data"},
      {{{"entries", {{{"type", 1}, {"location", {{"slot", 1}}}}}}}, "warning_log.entries[0].location.slot"},
      {{{"entries", {{{"type", 1}, {"size", 0x10000}}}}}, "warning_log.entries[0].size"},
      {{{"entries", {{{"type", 1}, {"data", std::string(2 * (area - 13), '0')}}}}}, "warning_log.entries"},
      {{{"used_size", -1}}, "warning_log.used_size"},
      {{{"mem_warning", 300}}, "warning_log.mem_warning"},
      {{{"entry", json::array()}}, "warning_log.entry"},
  };
  for (const auto& c : cases) {
    try {
      boardWith({{"warning_log", c.log}});
      ADD_FAILURE() << c.key;
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key, c.key) << e.what();
    }
  }
  // Exactly the area fits.
  EXPECT_NO_THROW(boardWith({{"warning_log", {{"entries", {{{"type", 1}, {"data", std::string(2 * (area - 14), '0')}}}}}}}));
}

TEST(WarningLogBoard, DefaultBootAnnouncesEveryCheckPointAndStaysClean) {
  BootSession s(defaultBoard(), {});
  BootResult r = s.run();
  EXPECT_EQ(r.end, BootEndKind::Completed);
  std::vector<std::string> names;
  for (const auto& e : s.events().ofType("status_code"))
    if (e["value"] == "0x03020008") names.push_back(e["text"]);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"[AWR error check]", "[CPU error check]", "[IE error check]",
                                             "[IIO error check]", "[Memory error check]", "[SPS error check]",
                                             "[UPI error check]"}));
  for (const auto& e : s.events().ofType("dyl_report")) EXPECT_NE(e["class"], "0x05");
  EXPECT_EQ(s.platform().pcd.number(PcdZubLastWarningCode_TOKEN), 0u);
  EXPECT_EQ(readScreenText(scanOutScreen(*s.video())).find("WARNING"), std::string::npos);
}

// The overview's warning end to end on the default board: a DIMM that failed training.
TEST(WarningLogBoard, OneWarningEndToEnd) {
  BoardConfig b = boardWith({{"warning_log", {{"entries", {{{"type", 1}, {"major", "0x13"},
                                                            {"location", {{"socket", 0}, {"channel", 2}}}}}}}}});
  BootSession s(b, {});
  EXPECT_EQ(s.run().end, BootEndKind::Completed);
  std::string screen = readScreenText(scanOutScreen(*s.video()));
  EXPECT_NE(screen.find(" [2004] WARNING: Some DIMMs cannot be trained and have been disabled."), std::string::npos)
      << screen;
  std::vector<json> forwarded;
  for (const auto& e : s.events().ofType("dyl_report"))
    if (e["class"] == "0x05") forwarded.push_back(e);
  ASSERT_EQ(forwarded.size(), 1u);
  EXPECT_EQ(forwarded[0]["ewl_type"], 1);
  EXPECT_EQ(forwarded[0]["ewl_size"], 18);
  EXPECT_EQ(forwarded[0]["major"], "0x13");
  EXPECT_EQ(forwarded[0]["attribute"], "0x2200");
  EXPECT_EQ(s.platform().pcd.number(PcdZubLastWarningCode_TOKEN), 0x2004u);
  EXPECT_EQ(s.platform().pcd.number(PcdZubMemWarningKind_TOKEN), 0x1Eu);
}

}  // namespace
}  // namespace zub
