// WarnLogCheckPei on the board: the reference code's warning log in its host data, check
// points announced on the timeline, the lines read back from the AST2500's scan-out, the
// DYL reports the BMC decoded, the PCDs and how the boot ended.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <RefCode/RcSysHost.h>
#include <ZubPcdTokens.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Ast2500Screen.h"
#include "Devices/Chipset.h"

namespace zub {
namespace {

using json = nlohmann::json;

const char* const kMemory = "[Memory error check]";
const char* const kUpi = "[UPI error check]";
const char* const kCpu = "[CPU error check]";
const char* const kIio = "[IIO error check]";
const char* const kSps = "[SPS error check]";
const char* const kIe = "[IE error check]";
const char* const kAwr = "[AWR error check]";

const json kModules = {"IpmiRelayPei", "VgaDecodePei", "TextConsolePei", "WarnLogCheckPei"};

json memEntry(int major, int socket = 0, int channel = 0, int dimm = 0, int rank = 0, int type = 1, int minor = 0) {
  return {{"type", type}, {"major", major}, {"minor", minor},
          {"location", {{"socket", socket}, {"channel", channel}, {"dimm", dimm}, {"rank", rank}}}};
}

// An entry with `data` from offset 14 (zero bytes making it `size` long).
json entry(int type, int major, int minor = 0, std::vector<uint8_t> data = {}, size_t size = 14) {
  if (data.size() + 14 < size) data.resize(size - 14);
  return {{"type", type}, {"major", major}, {"minor", minor}, {"data", data}};
}

json miscCfg(uint8_t byte3) {
  std::vector<uint8_t> data(11);
  data[3] = byte3;
  return json::array({{{"name", "ZubMiscCfg"}, {"guid", "986D218B-E515-4A94-9425-53919091A4E6"}, {"data", data}}});
}

std::vector<uint8_t> fromHex(const std::string& s) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < s.size() || i < s.size(); i += 3) out.push_back(uint8_t(std::stoul(s.substr(i, 2), nullptr, 16)));
  return out;
}

// One boot of the modules with the log and the check points on its timeline.
struct Ewl {
  Ewl(const json& log, const std::vector<std::string>& checks, const json& changes = json::object(),
      const std::function<void(BootSession&)>& before = {}) {
    json timeline = json::array({{{"dispatch", true}}});
    for (const auto& c : checks) timeline.push_back({{"status_code", {{"value", "0x03020008"}, {"text", c}}}});
    json board = {{"firmware", {{"modules", kModules}, {"order", kModules}}}, {"timeline", timeline},
                  {"warning_log", log}};
    boot = std::make_unique<BootSession>(boardWith(mergeBoard(board, changes)), PersistentState{});
    if (before) before(*boot);
    result = boot->run();
  }

  std::vector<json> reports(const std::string& cls) const {
    std::vector<json> out;
    for (const auto& r : boot->events().ofType("dyl_report"))
      if (r["class"] == cls) out.push_back(r);
    return out;
  }
  std::vector<std::vector<uint8_t>> forwarded() const {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& r : reports("0x05")) out.push_back(fromHex(r["payload"]));
    return out;
  }
  // Which log entries were forwarded, by their index in the board's log.
  std::vector<int> forwardedIndexes() const {
    std::vector<int> out;
    const auto& entries = boot->board().warningLog.entries;
    for (const auto& p : forwarded()) {
      int found = -1;
      for (size_t i = 0; i < entries.size() && found < 0; ++i) {
        auto b = warningEntryBytes(entries[i]);
        b.resize(107);
        if (b == p) found = int(i);
      }
      out.push_back(found);
    }
    return out;
  }
  std::vector<std::string> lines() const {
    std::string t = readScreenText(scanOutScreen(*boot->video()));
    std::vector<std::string> out;
    for (size_t at = 0, nl; out.size() < 37 && (nl = t.find('\n', at)) != std::string::npos; at = nl + 1)
      out.push_back(t.substr(at, nl - at));
    out.resize(37);
    return out;
  }
  std::string colours() const {
    std::string t = readScreenText(scanOutScreen(*boot->video()));
    return t.substr(t.find("\n\n") + 2);
  }
  // The warning codes on the screen, top to bottom.
  std::vector<std::string> drawn() const {
    std::vector<std::string> out;
    for (const auto& l : lines())
      if (l.size() > 6 && l.compare(0, 2, " [") == 0 && l[6] == ']') out.push_back(l.substr(2, 4));
    return out;
  }
  uint64_t pcd(uint32_t token) const { return boot->platform().pcd.number(token); }
  std::string log() const { return boot->platform().debug.log(); }
  bool halted() const { return result.end == BootEndKind::Halted; }

  std::unique_ptr<BootSession> boot;
  BootResult result;
};

json logOf(const std::vector<json>& entries) { return {{"entries", entries}}; }

TEST(WarnLogCheckPei, DuplicatesByEachKey) {
  std::vector<uint8_t> spsDetail(24), spsOther(24), awrDetail(13), awrOther(13);
  for (size_t i = 0; i < 24; ++i) spsDetail[4 + i % 20] = uint8_t(i + 1), spsOther = spsDetail;
  spsOther[4 + 16] ^= 0xFF;                               // the UINT32 at 34
  for (size_t i = 0; i < 13; ++i) awrDetail[i] = uint8_t(0x40 + i), awrOther = awrDetail;
  awrOther[12] ^= 0x01;                                   // the last byte of the UINT32 at 23
  std::vector<uint8_t> ieLong(28), ieLongOther(28);
  for (size_t i = 0; i < 28; ++i) ieLong[i] = uint8_t(i * 3), ieLongOther = ieLong;
  ieLongOther[4 + 12] ^= 0x80;                            // byte 26 of the long layout
  struct Case {
    const char* name;
    const char* check;
    std::vector<json> entries;
    std::vector<std::string> drawn;
    std::vector<int> forwarded;
  } cases[] = {
      {"code duplicate at another DIMM: one code, both forwarded", kMemory,
       {memEntry(0x0C, 0, 0, 0), memEntry(0x0C, 1, 2, 1)}, {"200C"}, {0, 1}},
      {"location duplicate: forwarded once", kMemory, {memEntry(0x0C, 0, 1, 0, 1), memEntry(0x0C, 0, 1, 0, 1, 2)},
       {"200C"}, {0}},
      {"same DIMM, other minor code: another location key", kMemory,
       {memEntry(0x0C, 0, 1), memEntry(0x0C, 0, 1, 0, 0, 1, 7)}, {"200C"}, {0, 1}},
      {"other codes: two codes", kMemory, {memEntry(0x0C), memEntry(0x0D)}, {"200C", "200D"}, {0, 1}},
      {"an earlier entry of another category is no duplicate", kMemory,
       {entry(6, 0x0C, 0, {0, 0, 0, 0}), memEntry(0x0C)}, {"200C"}, {1}},
      {"CPU: code duplicate not forwarded", kCpu, {entry(7, 3), entry(7, 3), entry(7, 4)}, {"7001"}, {0, 2}},
      {"SPS short layout: detail duplicate", kSps, {entry(16, 1, 0, spsDetail), entry(16, 1, 0, spsDetail)},
       {"3001"}, {0}},
      {"SPS short layout: a differing UINT32 at 34", kSps, {entry(16, 1, 0, spsDetail), entry(16, 1, 0, spsOther)},
       {"3001"}, {0, 1}},
      {"SPS: the layout of the earlier entry (long) decides", kSps,
       {entry(17, 2, 0, spsDetail, 42), entry(16, 2, 0, spsDetail, 42)}, {"3002"}, {0}},
      {"SPS: an entry too short for the earlier entry's layout matches nothing", kSps,
       {entry(17, 2, 0, spsDetail, 42), entry(16, 2, 0, spsDetail)}, {"3002"}, {0, 1}},
      {"IE long layout: byte 26 differs", kIe, {entry(19, 1, 0, ieLong), entry(19, 1, 0, ieLongOther)}, {"3003"},
       {0, 1}},
      {"IE long layout: duplicate", kIe, {entry(19, 2, 0, ieLong), entry(18, 2, 0, ieLong)}, {"3004"}, {0}},
      {"AWR detail duplicate", kAwr, {entry(20, 0x50, 0, awrDetail), entry(22, 0x50, 0, awrDetail)}, {"5001"}, {0}},
      {"AWR: the UINT32 at 23 differs", kAwr, {entry(20, 0x50, 0, awrDetail), entry(20, 0x50, 0, awrOther)},
       {"5001"}, {0, 1}},
      {"AWR: other major codes give no warning but are forwarded", kAwr, {entry(20, 0x51, 0, awrDetail)}, {}, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Ewl b(logOf(c.entries), {c.check});
    EXPECT_EQ(b.drawn(), c.drawn);
    EXPECT_EQ(b.forwardedIndexes(), c.forwarded);
    EXPECT_FALSE(b.halted());
  }
}

TEST(WarnLogCheckPei, MajorCode30FollowsTheOption) {
  struct Case { uint8_t option; std::vector<std::string> drawn; std::vector<int> forwarded; } cases[] = {
      {0, {}, {}}, {1, {"2004"}, {0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.option));
    Ewl b(logOf({memEntry(0x30, 1, 1)}), {kMemory}, {{"nvram", miscCfg(c.option)}});
    EXPECT_EQ(b.pcd(PcdZubEwlIncludeCode30_TOKEN), c.option);
    EXPECT_EQ(b.drawn(), c.drawn);
    EXPECT_EQ(b.forwardedIndexes(), c.forwarded);
    EXPECT_EQ(b.pcd(PcdZubMemWarningKind_TOKEN), c.option ? 0x1Eu : 0u);
  }
}

TEST(WarnLogCheckPei, EveryCategoryMapsItsCodes) {
  struct Row { const char* check; int type; std::vector<int> majors; int code; uint8_t kind; };
  const Row rows[] = {
      {kMemory, 1, {0x07, 0xED}, 0x2001, 0x1E},
      {kMemory, 2, {0x39, 0x3D, 0xEF, 0xF0, 0xF4, 0xF5}, 0x2002, 0x1E},
      {kMemory, 3, {0x17}, 0x2003, 0x1E},
      {kMemory, 4, {0x13, 0x14, 0x15, 0x16, 0x1F, 0x24, 0x26, 0x29, 0x31, 0x0A}, 0x2004, 0x1E},
      {kMemory, 5, {0x0E}, 0x2005, 0x1E},
      {kMemory, 10, {0x2A, 0xE8}, 0x2006, 0x1E},
      {kMemory, 11, {0x0C}, 0x200C, 1},
      {kMemory, 12, {0x0D}, 0x200D, 2},
      {kMemory, 13, {0x10}, 0x200B, 3},
      {kMemory, 23, {0x3A}, 0x200F, 4},
      {kMemory, 25, {0x3B}, 0x2010, 5},
      {kMemory, 26, {0x01, 0x3C, 0xFF}, 0, 0},
      {kMemory, 27, {0x0C}, 0x200C, 1},
      {kMemory, 28, {0x0C}, 0x200C, 1},
      {kMemory, 6, {0x0C}, 0, 0},          // a UPI type: not a memory entry
      {kUpi, 6, {1}, 0x6001, 0}, {kUpi, 21, {2}, 0x6002, 0}, {kUpi, 6, {3}, 0x6003, 0}, {kUpi, 6, {4}, 0x6004, 0},
      {kUpi, 6, {9, 10, 12, 13, 14, 15, 17, 25}, 0x6005, 0},
      {kUpi, 21, {16}, 0x7002, 0},
      {kUpi, 6, {5, 11, 0x50}, 0, 0},
      {kUpi, 1, {1}, 0, 0},
      {kCpu, 7, {0, 0x5A}, 0x7001, 0},
      {kCpu, 6, {1}, 0, 0},
      {kSps, 16, {1}, 0x3001, 0}, {kSps, 17, {2}, 0x3002, 0}, {kSps, 16, {3}, 0, 0},
      {kIe, 18, {1}, 0x3003, 0}, {kIe, 19, {2}, 0x3004, 0}, {kIe, 19, {0x50}, 0, 0},
      {kAwr, 20, {0x50}, 0x5001, 0}, {kAwr, 22, {0x50}, 0x5001, 0}, {kAwr, 20, {1}, 0, 0},
      {kIio, 1, {0x0C}, 0, 0}, {kIio, 6, {1}, 0, 0},
  };
  for (const auto& row : rows) {
    for (int major : row.majors) {
      SCOPED_TRACE(std::string(row.check) + " type " + std::to_string(row.type) + " major " + std::to_string(major));
      Ewl b(logOf({entry(row.type, major, 0, {}, 18)}), {row.check});
      EXPECT_EQ(b.pcd(PcdZubLastWarningCode_TOKEN), uint64_t(row.code));
      char code[8];
      std::snprintf(code, sizeof code, "%04X", row.code);
      EXPECT_EQ(b.drawn(), row.code ? std::vector<std::string>{code} : std::vector<std::string>{});
      EXPECT_EQ(b.pcd(PcdZubMemWarningKind_TOKEN), row.kind);
      bool stops = major == 0x2A || major == 0xE8 || major == 0xED;
      EXPECT_EQ(b.halted(), stops);
    }
  }
}

TEST(WarnLogCheckPei, TheLastMemoryEntryOfAPassDecidesTheWarningKind) {
  Ewl b(logOf({memEntry(0x0C), memEntry(0x3B, 1), memEntry(0x0C, 2), memEntry(0x01, 3)}), {kMemory});
  EXPECT_EQ(b.pcd(PcdZubMemWarningKind_TOKEN), 0u) << "an unmapped code is the last non-duplicate";
  Ewl c(logOf({memEntry(0x0C), memEntry(0x3B, 1), memEntry(0x0C, 2)}), {kMemory});
  EXPECT_EQ(c.pcd(PcdZubMemWarningKind_TOKEN), 5u) << "a code duplicate leaves the kind alone";
}

TEST(WarnLogCheckPei, UpiLimitsHoldForTheWholeBoot) {
  struct Case {
    const char* name;
    std::vector<json> entries;
    std::vector<std::string> drawn;
    std::vector<int> forwarded;
  } cases[] = {
      {"first entry forwarded, first code shown, a later check point adds nothing",
       {entry(6, 1), entry(21, 3)}, {"6001"}, {0}},
      {"an unmapped first entry uses up the report but not the warning", {entry(6, 5), entry(6, 2)}, {"6002"}, {0}},
      {"a code duplicate is never forwarded", {entry(6, 16), entry(6, 16, 1)}, {"7002"}, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Ewl b(logOf(c.entries), {kUpi, kUpi, kMemory, kUpi});
    EXPECT_EQ(b.drawn(), c.drawn);
    EXPECT_EQ(b.forwardedIndexes(), c.forwarded);
  }
}

TEST(WarnLogCheckPei, TwoCodesPerPassAndTheLastCode) {
  Ewl three(logOf({memEntry(0x0C), memEntry(0x0D, 1), memEntry(0x10, 2)}), {kMemory});
  EXPECT_EQ(three.drawn(), (std::vector<std::string>{"200C", "200D"}));
  EXPECT_EQ(three.pcd(PcdZubLastWarningCode_TOKEN), 0x200Du);
  EXPECT_EQ(three.pcd(PcdZubVgaTextRow_TOKEN), 14u);
  EXPECT_EQ(three.forwardedIndexes(), (std::vector<int>{0, 1, 2})) << "the policy limits lines, not reports";

  // The same code in two passes is drawn once; the count of a pass includes codes not drawn.
  Ewl twice(logOf({memEntry(0x0C)}), {kMemory, kMemory});
  EXPECT_EQ(twice.drawn(), std::vector<std::string>{"200C"});
  EXPECT_EQ(twice.pcd(PcdZubVgaTextRow_TOKEN), 13u);
  EXPECT_EQ(twice.forwarded().size(), 2u) << "each pass forwards again";

  Ewl repeat(logOf({memEntry(0x0C), entry(6, 1), memEntry(0x0D, 1), memEntry(0x10, 2)}), {kMemory, kUpi, kMemory});
  EXPECT_EQ(repeat.drawn(), (std::vector<std::string>{"200C", "200D", "6001", "200C", "200D"}));
  EXPECT_EQ(repeat.pcd(PcdZubLastWarningCode_TOKEN), 0x200Du);
}

// More codes in one pass than the pass's 8-bit count can hold still draw only two lines.
TEST(WarnLogCheckPei, ThePassCountDoesNotWrap) {
  std::vector<json> entries;
  for (int i = 0; i < 300; ++i) entries.push_back(entry(1, i % 2 ? 0x0D : 0x0C, i / 2));
  Ewl b(logOf(entries), {kMemory});
  EXPECT_EQ(b.drawn(), (std::vector<std::string>{"200C", "200D"}));
  EXPECT_EQ(b.pcd(PcdZubVgaTextRow_TOKEN), 14u);
  EXPECT_EQ(b.forwarded().size(), 300u) << "too short for a location key: none is a location duplicate";
}

TEST(WarnLogCheckPei, RowArithmeticAndDoneMark) {
  struct Case { uint16_t row; bool done; } cases[] = {{15, true}, {12, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Ewl b(logOf({memEntry(0x0C)}), {kMemory}, {{"pcd", {{"PcdZubVgaTextRow", c.row}}}});
    auto l = b.lines();
    EXPECT_EQ(b.pcd(PcdZubVgaTextRow_TOKEN), c.row + 1u);
    EXPECT_EQ(b.pcd(PcdZubVgaWarningShown_TOKEN), 1u);
    EXPECT_EQ(l[c.row].substr(0, 8), " [200C] ");
    EXPECT_EQ(l[c.row].substr(8, 8), "WARNING:");
    EXPECT_NE(b.colours().find("row " + std::to_string(c.row) + " col 1-"), std::string::npos);
    std::string done = "row " + std::to_string(c.row - 1) + " col 93-98 color 0x00FF00";
    EXPECT_EQ(b.colours().find(done) != std::string::npos, c.done) << b.colours();
    if (c.done) {
      EXPECT_EQ(l[c.row - 1], std::string(93, ' ') + "[Done]");
    }
  }
}

TEST(WarnLogCheckPei, LogoLayoutAndMissingDisplayStillMoveTheCounter) {
  Ewl logo(logOf({memEntry(0x0C)}), {kMemory}, {{"pcd", {{"PcdZubEarlyVgaMode", 2}, {"PcdZubVgaTextRow", 20}}}});
  EXPECT_EQ(logo.pcd(PcdZubVgaTextRow_TOKEN), 21u);
  EXPECT_EQ(logo.pcd(PcdZubLastWarningCode_TOKEN), 0x200Cu);
  EXPECT_EQ(logo.pcd(PcdZubVgaWarningShown_TOKEN), 0u);
  EXPECT_TRUE(logo.drawn().empty());

  Ewl headless(logOf({memEntry(0x0C), memEntry(0x0D, 1)}), {kMemory},
               {{"firmware", {{"modules", {"IpmiRelayPei", "WarnLogCheckPei"}}}}});
  EXPECT_EQ(headless.pcd(PcdZubVgaTextRow_TOKEN), 14u);
  EXPECT_EQ(headless.pcd(PcdZubLastWarningCode_TOKEN), 0x200Du);
  EXPECT_NE(headless.log().find("Failed to locate vga display ppi: Not Found\n"), std::string::npos);
  EXPECT_EQ(headless.forwarded().size(), 2u);
}

TEST(WarnLogCheckPei, ForwardedEntriesArePaddedTo107Bytes) {
  std::vector<uint8_t> body(26), longBody(106);
  for (size_t i = 0; i < body.size(); ++i) body[i] = uint8_t(0xA0 + i);
  for (size_t i = 0; i < longBody.size(); ++i) longBody[i] = uint8_t(i + 1);
  Ewl b(logOf({entry(1, 0x0C, 0, body), entry(2, 0x0D, 0, longBody)}), {kMemory});
  auto reports = b.reports("0x05");
  ASSERT_EQ(reports.size(), 2u);
  for (const auto& r : reports) {
    EXPECT_EQ(r["sclass"], 0);
    EXPECT_EQ(r["ssclass"], 0);
    EXPECT_EQ(r["attribute"], "0x2200");
    EXPECT_EQ(r["length_ok"], true);
  }
  auto first = fromHex(reports[0]["payload"]);
  ASSERT_EQ(first.size(), 107u);
  std::vector<uint8_t> want = {1, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0};
  want.insert(want.end(), body.begin(), body.end());
  want.resize(107);
  EXPECT_EQ(first, want) << "40 bytes of the entry, then 67 zero bytes";
  auto second = fromHex(reports[1]["payload"]);
  ASSERT_EQ(second.size(), 107u);
  EXPECT_EQ(second[4], 120);
  EXPECT_EQ(std::vector<uint8_t>(second.begin() + 14, second.end()),
            std::vector<uint8_t>(longBody.begin(), longBody.begin() + 93))
      << "a 120-byte entry is cut at 107";
}

TEST(WarnLogCheckPei, DiagnosisModeSkipsEveryCheck) {
  struct Case { uint8_t mode; bool checks; } cases[] = {{0x01, false}, {0x02, false}, {0x03, false}, {0x04, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.mode));
    Ewl b(logOf({memEntry(0x0C), entry(6, 1), memEntry(0xED, 1)}), {kMemory, kUpi, kIio},
          {{"cmos", {{"standard", {{"0x74", c.mode}}}}}});
    EXPECT_EQ(b.halted(), c.checks);
    EXPECT_EQ(b.drawn().empty(), !c.checks);
    EXPECT_EQ(b.forwarded().empty(), !c.checks);
    char line[40];
    std::snprintf(line, sizeof line, "ZubHWDiagGetMode  Data8: %x\n", c.mode);
    EXPECT_NE(b.log().find(line), std::string::npos);
  }
}

TEST(WarnLogCheckPei, BootStoppingEntriesHaltAfterThePass) {
  struct Case {
    const char* name;
    const char* check;
    std::vector<json> entries;
    std::vector<std::string> drawn;
    size_t forwarded;
  } cases[] = {
      {"IIO: no code, nothing forwarded, still halts", kIio, {memEntry(0x2A), entry(6, 1)}, {}, 0},
      {"memory 07/15 shows its line first", kMemory, {memEntry(0x07, 0, 0, 0, 0, 1, 0x15), memEntry(0x0C, 1)},
       {"2001", "200C"}, 2},
      {"an entry of no category's type stops a UPI pass", kUpi, {entry(99, 0xED), entry(6, 2)}, {"6002"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Ewl b(logOf(c.entries), {c.check, kMemory});
    EXPECT_TRUE(b.halted());
    EXPECT_EQ(b.result.detail, "CpuDeadLoop in WarnLogCheckPei");
    EXPECT_EQ(b.boot->summary()["ended"], "halted");
    EXPECT_EQ(b.drawn(), c.drawn) << "the second check point never runs";
    EXPECT_EQ(b.forwarded().size(), c.forwarded);
    auto hang = b.reports("0x09");
    ASSERT_EQ(hang.size(), 1u);
    EXPECT_EQ(hang[0]["sclass"], 1);
    EXPECT_EQ(hang[0]["ssclass"], 1);
    EXPECT_EQ(hang[0]["attribute"], "0x2200");
    auto text = fromHex(hang[0]["payload"]);
    EXPECT_EQ(std::string(text.begin(), text.end()), "System Firmware hang!");
    EXPECT_EQ(hang[0]["text"], "System Firmware hang!") << "21 characters, no NUL";
    EXPECT_NE(b.log().find("ZubSendSysFirmwareHangeDyl    status: Success\n"), std::string::npos);
  }
  Ewl minorOnly(logOf({memEntry(0x07, 0, 0, 0, 0, 1, 0x14)}), {kMemory});
  EXPECT_FALSE(minorOnly.halted());
}

TEST(WarnLogCheckPei, MemoryWarningByteIsClearedByAMemoryCode) {
  struct Case { const char* check; std::vector<json> entries; uint8_t after; } cases[] = {
      {kMemory, {memEntry(0x0C)}, 0},
      {kMemory, {memEntry(0x01)}, 0x5A},            // no code
      {kUpi, {entry(6, 1)}, 0x5A},                  // another category
  };
  for (const auto& c : cases) {
    json log = logOf(c.entries);
    log["mem_warning"] = 0x5A;
    Ewl b(log, {c.check});
    EXPECT_EQ(b.boot->referenceCode().sysHost()[RC_SYSHOST_MEM_WARNING_OFFSET], c.after) << c.check;
  }
}

TEST(WarnLogCheckPei, HostileLogsEndTheWalk) {
  struct Case {
    const char* name;
    json log;
    std::vector<std::string> drawn;
    std::vector<int> forwarded;
  } cases[] = {
      {"an entry shorter than its fixed fields", logOf({memEntry(0x0C), {{"raw", "01 00 00 00 0A 00 00 00 00 00"}},
                                                        memEntry(0x0D)}), {"200C"}, {0}},
      {"a size of 0", logOf({{{"type", 1}, {"major", 0x0C}, {"size", 0}}, memEntry(0x0D)}), {}, {}},
      {"a size below 14", logOf({{{"type", 1}, {"major", 0x0C}, {"size", 13}}, memEntry(0x0D)}), {}, {}},
      {"an entry past the used size", logOf({memEntry(0x0C), {{"type", 1}, {"major", 0x0D}, {"size", 200}}}),
       {"200C"}, {0}},
      {"the used size ends inside an entry",
       {{"entries", {memEntry(0x0C), memEntry(0x0D, 1)}}, {"used_size", 30}}, {"200C"}, {0}},
      {"the used size ends inside the next entry's fixed fields",
       {{"entries", {memEntry(0x0C), memEntry(0x0D, 1)}}, {"used_size", 18 + 13}}, {"200C"}, {0}},
      {"a used size of zero", {{"entries", {memEntry(0x0C)}}, {"used_size", 0}}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Ewl b(c.log, {kMemory, kSps});
    EXPECT_EQ(b.drawn(), c.drawn);
    EXPECT_EQ(b.forwardedIndexes(), c.forwarded);
    EXPECT_FALSE(b.halted());
  }
}

// The log area ends at the memory warning byte; what lies beyond must never be walked,
// whatever the used size claims.
TEST(WarnLogCheckPei, UsedSizeIsBoundedByTheLogArea) {
  constexpr uint32_t area = RC_SYSHOST_EWL_AREA_END_OFFSET - RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET;
  // A stopping entry right after the area, and the area filled by one entry.
  auto plant = [](BootSession& s) {
    auto& host = s.referenceCode().sysHost();
    const uint8_t stop[18] = {1, 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0xED, 0, 0, 0, 0, 0};
    std::copy(std::begin(stop), std::end(stop), host.begin() + RC_SYSHOST_EWL_AREA_END_OFFSET);
  };
  for (uint64_t used : {uint64_t(area), uint64_t(area) + 18, uint64_t(0xFFFFFFFF)}) {
    SCOPED_TRACE(used);
    Ewl b({{"entries", {entry(1, 0x0C, 0, {}, area)}}, {"used_size", used}}, {kMemory, kAwr}, json::object(), plant);
    EXPECT_FALSE(b.halted()) << "nothing past the area was walked";
    EXPECT_EQ(b.drawn(), std::vector<std::string>{"200C"});
    if (used > area) {
      EXPECT_NE(b.log().find("runs past the log area"), std::string::npos);
    }
  }
  // An entry that claims to run past the area's end ends the walk.
  Ewl past({{"entries", {memEntry(0x0D), entry(1, 0x0C, 0, {}, area - 18)}}, {"used_size", uint64_t(0xFFFFFFFF)}},
           {kMemory}, json::object(), [&](BootSession& s) {
             auto& host = s.referenceCode().sysHost();
             host[RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET + 18 + 4] = 0xFF;
             host[RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET + 18 + 5] = 0xFF;
           });
  EXPECT_EQ(past.drawn(), std::vector<std::string>{"200D"});
  EXPECT_EQ(past.forwardedIndexes(), std::vector<int>{0});
}

TEST(WarnLogCheckPei, CheckPointsByNameOnly) {
  auto withStep = [](json code) {
    return json{{"timeline", {{{"dispatch", true}}, {{"status_code", code}}}}};
  };
  struct Case { const char* name; json step; bool runs; } cases[] = {
      {"exact name", {{"value", "0x03020008"}, {"text", kMemory}}, true},
      {"error type, same value", {{"value", "0x03020008"}, {"type", 2}, {"text", kMemory}}, true},
      {"another value", {{"value", "0x03020001"}, {"text", kMemory}}, false},
      {"unknown name", {{"value", "0x03020008"}, {"text", "[Memory error check] "}}, false},
      {"no data", {{"value", "0x03020008"}, {"no_data", true}}, false},
      {"name not terminated in its data", {{"value", "0x03020008"}, {"data", "5B 4D 65 6D 6F 72 79 20 65 72 72 6F 72 20 63 68 65 63 6B 5D"}}, false},
      {"terminated name in data", {{"value", "0x03020008"}, {"data", "5B 4D 65 6D 6F 72 79 20 65 72 72 6F 72 20 63 68 65 63 6B 5D 00"}}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Ewl b(logOf({memEntry(0x0C)}), {}, withStep(c.step));
    EXPECT_EQ(b.drawn().size(), c.runs ? 1u : 0u);
  }
}

TEST(WarnLogCheckPei, EntryCopiesTheOptionAndKeepsTheListenerWithoutIt) {
  Ewl without(logOf({memEntry(0x30)}), {kMemory}, {{"nvram", json::array()}, {"pcd", {{"PcdZubEwlIncludeCode30", 1}}}});
  EXPECT_NE(without.log().find("WarnLogCheckPeiEntry ---start\n"), std::string::npos);
  EXPECT_NE(without.log().find("Failed to get ZubMiscCfg variable Not Found\n"), std::string::npos);
  EXPECT_EQ(without.pcd(PcdZubEwlIncludeCode30_TOKEN), 1u) << "the default stays";
  EXPECT_EQ(without.drawn(), std::vector<std::string>{"2004"}) << "the listener stays registered";
  const auto& records = without.boot->dispatcher().records();
  auto it = std::find_if(records.begin(), records.end(), [](const auto& r) { return r.module == "WarnLogCheckPei"; });
  ASSERT_NE(it, records.end());
  EXPECT_EQ(it->status, EFI_NOT_FOUND);
}

}  // namespace
}  // namespace zub
