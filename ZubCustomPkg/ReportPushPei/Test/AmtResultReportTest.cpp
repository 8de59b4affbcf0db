// push_AmtResult.json from the reference code's memory test data on the default board,
// booted whole; the document is checked byte for byte and by a JSON parser.
#include <gtest/gtest.h>

#include <memory>

#include <RefCode/RcMemoryTest.h>
#include <RefCode/RcRevision.h>
#include <ZubBuildVersion.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "ReportPushBoot.h"

namespace zub {
namespace {

constexpr const char* kReportName = "push_AmtResult.json";
constexpr const char* kSocketMemoryGuid = "4A7F3C21-9B8D-4E65-A2C1-7D3E5F0B8C94";

// The default board with the modules that bring up video memory and push the report, its
// "memory" section replaced and other changes merged in.
struct AmtBoot {
  explicit AmtBoot(const nlohmann::json& memory, const nlohmann::json& changes = nlohmann::json::object()) {
    nlohmann::json j = nlohmann::json::parse(defaultBoardText());
    j["firmware"]["modules"] = {"IpmiRelayPei", "VgaDecodePei", "VramLinkPei", "ReportPushPei"};
    j = mergeBoard(j, changes);
    j["memory"] = memory;
    board = parseBoard(j);
    session = std::make_unique<BootSession>(board, PersistentState{});
    session->run();
  }
  const Bmc::ReceivedFile* file() const {
    for (const auto& f : session->bmc().receivedFiles())
      if (f.name == kReportName) return &f;
    return nullptr;
  }
  std::string report() const {
    const auto* f = file();
    return f ? std::string(f->bytes.begin(), f->bytes.end()) : std::string("(not pushed)");
  }
  size_t count(const std::string& text) const {
    const std::string& log = session->platform().debug.log();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }
  BoardConfig board;
  std::unique_ptr<BootSession> session;
};

// The expected document as written, without the blanks between tokens; {BIOS}, {RC} and
// {CPU} stand for the build's texts and the CPU type.
std::string expectedText(const std::string& pretty, const std::string& cpu = "ICX") {
  std::string out;
  bool inString = false, escaped = false;
  for (char c : pretty) {
    if (inString) {
      out += c;
      if (escaped) escaped = false;
      else if (c == '\\') escaped = true;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
      out += c;
    } else if (c != ' ' && c != '\n') {
      out += c;
    }
  }
  std::u16string rc16 = RC_REVISION_TEXT;
  const std::pair<std::string, std::string> fills[] = {
      {"{BIOS}", ZUB_FIRMWARE_BUILD_VERSION}, {"{RC}", std::string(rc16.begin(), rc16.end())}, {"{CPU}", cpu}};
  for (const auto& [from, to] : fills)
    for (size_t at = out.find(from); at != std::string::npos; at = out.find(from)) out.replace(at, from.size(), to);
  return out;
}

nlohmann::json record(int status, int rank, int bg, int bank, uint32_t row, uint32_t column, int dq, int temp) {
  return {{"status", status}, {"rank", rank}, {"bg", bg}, {"bank", bank}, {"row", row}, {"column", column},
          {"dq", dq}, {"temp", temp}};
}

nlohmann::json dimm(int socket, int channel, int slot, const char* manufacturer, nlohmann::json records = nlohmann::json::array(),
                    const char* partNumber = "M393A4K40DB3-CWE") {
  return {{"socket", socket}, {"channel", channel}, {"slot", slot}, {"manufacturer", manufacturer},
          {"year", "0x21"}, {"week", "0x23"}, {"serial", {0x0A, socket, channel, slot}},
          {"part_number", partNumber}, {"records", records}};
}

nlohmann::json memory(nlohmann::json vendors, nlohmann::json dimms, nlohmann::json sockets = nullptr, int testSwitch = 1,
                      nlohmann::json test = nlohmann::json::object()) {
  if (sockets.is_null()) sockets = {{{"present", true}, {"channel_status", "01 00 01 01 01 01 01 01"}}};
  nlohmann::json t = {{"vendors", vendors}, {"param_mode", 0}, {"vdd", 1111}, {"twr", 11}, {"trefi", 2222},
                      {"pause", 33}, {"loops", 3}, {"ppr", 1}, {"dimm_ppr_count", 2}, {"socket_ppr_count", 6}};
  t.update(test);
  return {{"test", t}, {"test_switch", testSwitch}, {"sockets", sockets}, {"dimms", dimms}};
}

// Three DIMMs of three vendors on socket 0: channel 0 passed its test, channel 1 did not.
const nlohmann::json kThreeVendors = {dimm(0, 0, 0, "0xCE00"), dimm(0, 0, 1, "0xAD00"), dimm(0, 1, 0, "0x2C00")};

// The members up to "ErrorInfoList" with the fixtures' options (loops 3, PPR counts 2 and 6);
// params: the four test parameters when one vendor is tested.
std::string opening(const std::string& testOpen, int sockets, const std::string& params) {
  return "{" + testOpen + R"(, "BIOS Version":"{BIOS}", "RC Revision":"{RC}", "CPU Type":"{CPU}", "InstallSockets":)" +
         std::to_string(sockets) +
         R"(, "MaxChannels":8, "MaxDimms":2, "PerDimmMaxIssues":5, "DimmPPRCount":2, "SocketPPRCount":6, "Loops":3, )" +
         params + R"("PPR":1, "ErrorInfoList":{)";
}
const std::string kSamsungParams = R"("Twr":8, "Vdd":1200, "Trefi":15600, "Pause":8, )";

TEST(AmtResultReport, DocumentsOfTheBoardsMemoryTestData) {
  struct Case {
    const char* name;
    nlohmann::json memory;
    nlohmann::json changes;
    std::string expected;
    std::string cpu;
  } cases[] = {
      {"only Samsung: its parameters, only its DIMMs", memory({"samsung"}, kThreeVendors), {},
       opening(R"("Test Open":"Samsung")", 1, kSamsungParams) + R"(
          "Socket0 Channel0 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000000":["Test Result Pass"]}})", "ICX"},
      {"Hynix and Micron: two Test Open, no parameters, every DIMM", memory({"micron", "hynix"}, kThreeVendors), {},
       opening(R"("Test Open":"Hynix", "Test Open":"Micron")", 1, "") + R"(
          "Socket0 Channel0 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000000":["Test Result Pass"],
          "Socket0 Channel0 Dimm1 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000001":["Test Result Pass"],
          "Socket0 Channel1 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000100":["Test Result Skip"]}})", "ICX"},
      {"switch 0 with every vendor", memory({"hynix", "samsung", "micron"}, kThreeVendors, nullptr, 0), {},
       R"({"Test Not Open":""})", "ICX"},
      {"no vendor with the switch on", memory(nlohmann::json::array(), kThreeVendors), {}, R"({"Test Not Open":""})", "ICX"},
      {"repairs merged, empty records left out",
       memory({"samsung"},
              {dimm(0, 0, 0, "0xCE00",
                    {record(2, 1, 0, 3, 0x100, 5, 4, 40), record(5, 0, 2, 0, 0, 0, 7, 0),
                     record(4, 1, 1, 3, 0x100, 9, 6, 41)}),
               dimm(0, 2, 0, "0xCE00", {record(3, 2, 0, 1, 0x200, 1, 0, 39), record(4, 2, 0, 1, 0x201, 1, 0, 39)}),
               dimm(0, 3, 1, "0xCE00", {record(4, 0, 0, 0, 0, 0, 0, 0)})}),
       {},
       opening(R"("Test Open":"Samsung")", 1, kSamsungParams) + R"(
          "Socket0 Channel0 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000000":[
            "rank:1 bg:0 bank:3 row:0x00000100 column:0x00000005 Dq:4 Temp:40'C PPR Hard Success",
            "rank:1 bg:1 bank:3 row:0x00000100 column:0x00000009 Dq:6 Temp:41'C PPR Hard Success",
            "Test Result Pass"],
          "Socket0 Channel2 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000200":[
            "rank:2 bg:0 bank:1 row:0x00000200 column:0x00000001 Dq:0 Temp:39'C PPR Soft Success",
            "rank:2 bg:0 bank:1 row:0x00000201 column:0x00000001 Dq:0 Temp:39'C PPR Limit Exceed",
            "Test Result Fail"],
          "Socket0 Channel3 Dimm1 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000301":["Test Result Pass"]}})", "ICX"},
      {"a socket without its present flag",
       memory({"samsung"}, {dimm(0, 0, 0, "0xCE00"), dimm(1, 0, 0, "0xCE00"), dimm(2, 7, 1, "0xCE00")},
              {{{"present", true}, {"channel_status", "01"}}, {{"present", false}, {"channel_status", "01"}},
               {{"present", true}, {"channel_status", "00 00 00 00 00 00 00 01"}}}),
       {},
       opening(R"("Test Open":"Samsung")", 2, kSamsungParams) + R"(
          "Socket0 Channel0 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000000":["Test Result Pass"],
          "Socket2 Channel7 Dimm1 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a020701":["Test Result Pass"]}})", "ICX"},
      {"parameter mode 2 overrides the vendor's",
       memory({"hynix"}, kThreeVendors, nullptr, 1, {{"param_mode", 2}, {"vdd", 1250}, {"twr", 10}, {"trefi", 3900},
                                                     {"pause", 70000}}),
       {},
       opening(R"("Test Open":"Hynix")", 1, R"("Twr":10, "Vdd":1250, "Trefi":3900, "Pause":70000, )") + R"(
          "Socket0 Channel0 Dimm1 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000001":["Test Result Pass"]}})", "ICX"},
      {"Micron runs with the custom values", memory({"micron"}, kThreeVendors), {},
       opening(R"("Test Open":"Micron")", 1, R"("Twr":11, "Vdd":1111, "Trefi":2222, "Pause":33, )") + R"(
          "Socket0 Channel1 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000100":["Test Result Skip"]}})", "ICX"},
      {"unknown status, PPR disabled, signed DQ and temperature, escaped part number",
       memory({"samsung"}, {dimm(0, 0, 0, "0xCE00",
                                 {record(9, 2, 1, 1, 0x20, 0x30, -3, 0), record(1, 0, 0, 0, 0x40, 0, 1, -5)},
                                 "AB\"C\\D")}),
       {},
       opening(R"("Test Open":"Samsung")", 1, kSamsungParams) + R"(
          "Socket0 Channel0 Dimm0 ww23 2021 PN:AB\"C\\D               SN:0a000000":[
            "rank:2 bg:1 bank:1 row:0x00000020 column:0x00000030 Dq:-3 Unknown:9",
            "rank:0 bg:0 bank:0 row:0x00000040 column:0x00000000 Dq:1 Temp:-5'C PPR Disable",
            "Test Result Fail"]}})", "ICX"},
  };
  // The CPU type from the CPU-and-revision service: 0 SKX, 2 CPX, anything else ICX.
  const std::string cpuDoc = opening(R"("Test Open":"Micron")", 1, R"("Twr":11, "Vdd":1111, "Trefi":2222, "Pause":33, )") + R"(
      "Socket0 Channel1 Dimm0 ww23 2021 PN:M393A4K40DB3-CWE     SN:0a000100":["Test Result Skip"]}})";
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (auto [type, text] : {std::pair{0, "SKX"}, std::pair{2, "CPX"}, std::pair{4, "ICX"}, std::pair{7, "ICX"}})
    all.push_back({"CPU type", memory({"micron"}, kThreeVendors), {{"cpu", {{"rc_type", type}}}}, cpuDoc, text});

  for (const auto& c : all) {
    AmtBoot boot(c.memory, c.changes);
    std::string text = boot.report();
    EXPECT_TRUE(nlohmann::json::accept(text)) << c.name << ": " << text;
    EXPECT_EQ(text, expectedText(c.expected, c.cpu)) << c.name;
    EXPECT_EQ(boot.count("ZubCustomUploadAmtResultNotify ---start\n"), 1u) << c.name;
    EXPECT_EQ(boot.count("ZubCustomFillAmtResultJson ---start\n"), 1u) << c.name;
    EXPECT_EQ(boot.count("ZubCustomFillAmtResultJson ---end\n"), 1u) << c.name;
  }
}

TEST(AmtResultReport, RepairsAreMergedInPlaceAndIssuesCounted) {
  AmtBoot boot(memory({"samsung"}, {dimm(0, 0, 0, "0xCE00", {record(2, 1, 0, 3, 0x100, 5, 4, 40),
                                                               record(4, 1, 1, 3, 0x100, 9, 6, 41)}),
                                     dimm(0, 2, 0, "0xCE00", {record(4, 1, 1, 3, 0x100, 9, 6, 41),
                                                              record(5, 1, 0, 0, 0, 1, 0, 0)})}));
  auto* topology = reinterpret_cast<const RC_MEMORY_TOPOLOGY*>(boot.session->referenceCode().sysHost().data() +
                                                               RC_SYSHOST_MEMORY_OFFSET);
  EXPECT_EQ(topology->Socket[0].Channel[0].Dimm[0].PprRecord[1].Status, AMT_PPR_HARD_SUCCESS) << "merged in place";
  EXPECT_EQ(topology->Socket[0].Channel[2].Dimm[0].PprRecord[0].Status, AMT_PPR_LIMIT_EXCEED) << "other DIMM";
  EXPECT_EQ(boot.count("PprCount:0\n"), 1u);
  EXPECT_EQ(boot.count("PprCount:2\n"), 1u);
}

TEST(AmtResultReport, TheSwitchIsByte75OfSocketMemoryConfigInNvram) {
  auto variable = [](size_t size, uint8_t byte75) {
    std::vector<uint8_t> data(size, 0);
    if (size > 75) data[75] = byte75;
    return nlohmann::json{{"name", "SocketMemoryConfig"}, {"guid", kSocketMemoryGuid}, {"data", data}};
  };
  struct Case {
    const char* name;
    nlohmann::json nvram;   // added to the default board's
    bool open;
    const char* message;
  } cases[] = {
      {"741 bytes, byte 75 set", {variable(741, 1)}, true, nullptr},
      {"741 bytes, byte 74 and 76 set only", {[] {
         std::vector<uint8_t> d(741, 0);
         d[74] = d[76] = 1;
         return nlohmann::json{{"name", "SocketMemoryConfig"}, {"guid", kSocketMemoryGuid}, {"data", d}};
       }()}, false, nullptr},
      {"a shorter variable that holds byte 75", {variable(76, 1)}, true, nullptr},
      {"a variable too short for byte 75", {variable(75, 0)}, false, nullptr},
      {"a variable larger than the setup structure", {variable(742, 1)}, false,
       "Failed to get socket memory config Buffer Too Small\n"},
      {"no variable", nlohmann::json::array(), false, "Failed to get socket memory config Not Found\n"},
  };
  for (const auto& c : cases) {
    nlohmann::json m = memory({"samsung"}, kThreeVendors);
    m.erase("test_switch");
    nlohmann::json nvram = nlohmann::json::parse(defaultBoardText())["nvram"];
    for (const auto& v : c.nvram) nvram.push_back(v);
    AmtBoot boot(m, {{"nvram", nvram}});
    bool open = boot.report().rfind(R"({"Test Open":"Samsung",)", 0) == 0;
    EXPECT_EQ(open, c.open) << c.name << ": " << boot.report();
    if (!c.open) {
      EXPECT_EQ(boot.report(), R"({"Test Not Open":""})") << c.name;
    }
    if (c.message) {
      EXPECT_EQ(boot.count(c.message), 1u) << c.name;
    }
  }
}

TEST(AmtResultReport, NoReportWithoutTheQuickTransferChannel) {
  test::QuickTransferBoot r(boardWith(nlohmann::json::object()), {"IpmiRelayPei", "ReportPushPei"});
  TimelineStep memoryDiscovered{TimelineStep::Kind::Install};
  memoryDiscovered.ppi = "memory-discovered";
  r.boot.runStep(memoryDiscovered);
  EXPECT_EQ(r.count("ZubCustomUploadAmtResultNotify ---start\nFailed to locate quick trans ppi Not Found\n"), 1u)
      << r.log();
  EXPECT_EQ(r.count("ZubCustomFillAmtResultJson"), 0u);
  EXPECT_TRUE(r.boot.bmc().receivedFiles().empty());
}

TEST(AmtResultReport, TheDefaultBoardPushesBothReports) {
  BootSession boot(defaultBoard(), PersistentState{});
  boot.run();
  std::vector<std::string> names;
  for (const auto& f : boot.bmc().receivedFiles()) {
    names.push_back(f.name);
    EXPECT_TRUE(nlohmann::json::accept(f.bytes.begin(), f.bytes.end())) << f.name;
  }
  EXPECT_NE(std::find(names.begin(), names.end(), "push_BiosStartBoot.json"), names.end());
  ASSERT_NE(std::find(names.begin(), names.end(), kReportName), names.end());
  for (const auto& f : boot.bmc().receivedFiles()) {
    if (f.name != kReportName) continue;
    auto doc = nlohmann::json::parse(f.bytes.begin(), f.bytes.end());
    EXPECT_EQ(doc["Test Open"], "Samsung");
    EXPECT_EQ(doc["InstallSockets"], 2);
    EXPECT_EQ(doc["ErrorInfoList"].size(), 4u) << "the Hynix DIMM is not tested";
  }
}

}  // namespace
}  // namespace zub
