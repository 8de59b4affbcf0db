// BootProgressPei on the board with the AST2500 brought up by VgaDecodePei: status codes
// in, the screen read back from the scan-out.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ConsoleBoard.h"
#include "Devices/Ast2500.h"
#include "Devices/Ast2500Screen.h"
#include "Devices/Chipset.h"

namespace zub::vgatest {
namespace {

constexpr uint32_t kStage = 0x03020001, kMemTest = 0x00051006;
const std::string kUnknownLabel = "[SomethingElse]";

struct ProgressBoard {
  explicit ProgressBoard(uint8_t layout, std::function<void(PcdDatabase&)> pcds = {}) {
    BoardConfig b = defaultBoard();
    b.modules = {"VgaDecodePei", "TextConsolePei", "BootProgressPei"};
    b.timeline = {TimelineStep{}};
    boot = std::make_unique<BootSession>(b, PersistentState{});
    boot->start();
    auto& pcd = boot->platform().pcd;
    pcd.setNumber(PcdZubEarlyVgaMode_TOKEN, layout);
    pcd.setNumber(PcdZubVgaTextRow_TOKEN, 12);
    if (pcds) pcds(pcd);
    for (const char* m : {"VgaDecodePei", "TextConsolePei", "BootProgressPei"})
      EXPECT_EQ(boot->dispatcher().dispatch(m), EFI_SUCCESS) << m;
  }
  void stage(const std::string& label) { boot->reportStatusCode(kStage, label); }
  void memTest(uint8_t percent) { boot->reportStatusCode(EFI_PROGRESS_CODE, kMemTest, {percent}); }
  void warning(uint32_t value, uint32_t code) {
    std::vector<uint8_t> p(4);
    std::memcpy(p.data(), &code, 4);
    boot->reportStatusCode(EFI_PROGRESS_CODE, value, p);
  }
  std::vector<uint32_t> screen() { return scanOutScreen(*boot->video()); }
  std::vector<std::string> lines() {
    std::string t = readScreenText(screen());
    std::vector<std::string> out;
    for (size_t at = 0, nl; (nl = t.find('\n', at)) != std::string::npos; at = nl + 1) out.push_back(t.substr(at, nl - at));
    return out;
  }
  std::string colours() {
    std::string t = readScreenText(screen());
    return t.substr(t.find("\n\n") + 2);
  }
  uint64_t pcdValue(uint32_t token) { return boot->platform().pcd.number(token); }
  uint8_t cmosUpper(uint8_t index) {
    boot->machine().ioWrite(0x72, 1, index);
    return uint8_t(boot->machine().ioRead(0x73, 1));
  }
  std::unique_ptr<BootSession> boot;
};

std::string at(size_t column, const std::string& s) { return std::string(column, ' ') + s; }

TEST(BootProgressPei, ProgressArithmeticAndTheBar) {
  struct Case { unsigned codes, percent; } cases[] = {{3, 1}, {150, 50}, {300, 100}, {301, 100}, {303, 101}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codes);
    ProgressBoard b(0);
    for (unsigned i = 0; i < c.codes; ++i) b.stage(kUnknownLabel);
    EXPECT_EQ(b.pcdValue(PcdZubProgressCount_TOKEN), c.codes);
    EXPECT_EQ(b.boot->chipset().postPorts.last(0x84), c.percent);
    EXPECT_EQ(b.lines()[9], " Progress: [" + std::to_string(c.percent) + "%]");
    auto px = b.screen();
    unsigned fill = c.percent == 100 ? 792 : 8 + 784 * c.percent / 100;
    for (unsigned x : {8u, fill, fill + 1, 792u}) {
      if (x > 792) continue;
      uint32_t want = x <= fill ? 0x3285FF : 0x40516F;
      EXPECT_EQ(px[577 * 800 + x], want) << "column " << x;
      EXPECT_EQ(px[586 * 800 + x], want) << "column " << x;
      EXPECT_EQ(px[587 * 800 + x], 0u);
    }
  }
}

TEST(BootProgressPei, StageLinesDoneMarksAndWarnings) {
  ProgressBoard b(0);
  b.stage("[34CC6167-7AE7-403E-8AB2-23837F398A30]");
  auto l = b.lines();
  EXPECT_EQ(l[12], " Platform Information Initializing...");
  EXPECT_EQ(l[11], "");
  b.stage("[ZubOemPreMemoryInit]");
  l = b.lines();
  EXPECT_EQ(l[12], " Platform Information Initializing..." + std::string(56, ' ') + "[Done]");
  EXPECT_EQ(l[13], " Memory Initializing...");
  b.memTest(10);
  EXPECT_EQ(b.lines()[13], " Memory Initializing..." + std::string(70, ' ') + "[10%]");
  b.memTest(30);
  b.memTest(20);
  EXPECT_EQ(b.lines()[13], " Memory Initializing..." + std::string(70, ' ') + "[30%]");
  EXPECT_NE(b.colours().find("row 13 col 93-97 color 0xFF0000"), std::string::npos);
  b.memTest(100);
  EXPECT_EQ(b.lines()[13], " Memory Initializing..." + std::string(70, ' ') + "[Done]");
  EXPECT_NE(b.colours().find("row 13 col 93-98 color 0x00FF00"), std::string::npos);

  b.warning(0xFFFFFFFF, 0x2004);   // over the last line written
  l = b.lines();
  EXPECT_EQ(l[13].substr(0, 69), " [2004] WARNING: Some DIMMs cannot be trained and have been disabled.");
  EXPECT_EQ(b.pcdValue(PcdZubVgaWarningShown_TOKEN), 1u);
  const std::string warningLine = l[13];
  b.stage("[1C8B7F78-1699-40E6-AF33-9B995D16B043]");
  l = b.lines();
  EXPECT_EQ(l[14], " IPMI Communication Initializing...");
  EXPECT_EQ(l[13], warningLine) << "the stage after a warning line marks nothing";
  EXPECT_EQ(b.pcdValue(PcdZubVgaWarningShown_TOKEN), 0u);
  b.warning(0xFFFFFF14, 0x9999);   // explicit row 20
  EXPECT_EQ(b.lines()[20], " [9999] Unknown Error Type!");
  EXPECT_EQ(b.pcdValue(PcdZubVgaTextRow_TOKEN), 21u);
}

TEST(BootProgressPei, CodesWithoutDataAreIgnored) {
  ProgressBoard b(0);
  for (uint32_t v : {kStage, kMemTest, 0xFFFFFFFFu}) b.boot->reportStatusCode(EFI_PROGRESS_CODE, v, {}, false);
  EXPECT_EQ(b.pcdValue(PcdZubProgressCount_TOKEN), 0u);
  EXPECT_EQ(b.pcdValue(PcdZubVgaTextRow_TOKEN), 12u);
}

TEST(BootProgressPei, MemoryInitFlagInUpperCmos) {
  struct Case { uint32_t bootOption; bool changes; } cases[] = {{0x00000004, true}, {0x01000004, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bootOption);
    ProgressBoard b(0, [&](PcdDatabase& p) { p.setNumber(PcdZubBmcBootOption_TOKEN, c.bootOption); });
    b.boot->machine().ioWrite(0x72, 1, 0x54);
    b.boot->machine().ioWrite(0x73, 1, 0x43);
    b.stage("[ZubOemPreMemoryInit]");
    EXPECT_EQ(b.cmosUpper(0x54), c.changes ? 0x03 : 0x43);
    b.stage("[ZubOemPostMemoryInit]");
    EXPECT_EQ(b.cmosUpper(0x54), 0x43);
    EXPECT_EQ(b.pcdValue(PcdZubProgressCount_TOKEN), 2u) << "the post-memory label still counts";
  }
}

void setText(PcdDatabase& p, uint32_t token, const std::string& s) {
  std::vector<uint8_t> bytes(s.begin(), s.end());
  bytes.push_back(0);
  p.setBytes(token, bytes);
}

TEST(BootProgressPei, LayoutsDrawTheirOwnScreens) {
  auto pcds = [](PcdDatabase& p) {
    setText(p, PcdZubBmcDedicatedIpv4_TOKEN, "10.1.2.3");
    setText(p, PcdZubBmcShareIpv4_TOKEN, "10.9.8.7");
    setText(p, PcdZubBmcDedicatedIpv6_TOKEN, "fe80::1");
    setText(p, PcdZubBmcShareIpv6_TOKEN, "fe80::2");
  };
  {
    ProgressBoard b(0, pcds);
    auto l = b.lines();
    EXPECT_EQ(l[7], " ZUB5120-1.02.07 1.02.07.0311" + std::string(31, ' ') + "QMB Shared IPv4:    10.9.8.7");
    EXPECT_EQ(l[8], " Initialize System, Please Wait..." + std::string(26, ' ') + "QMB Dedicated IPv4: 10.1.2.3");
    EXPECT_EQ(l[33], " QMB Shared IPv6:     fe80::2");
    EXPECT_EQ(l[34], " QMB Dedicated IPv6:  fe80::1");
  }
  {
    ProgressBoard b(1, [&](PcdDatabase& p) { pcds(p); p.setNumber(PcdZubBmcDedicatedOnly_TOKEN, 1); });
    auto l = b.lines();
    EXPECT_EQ(l[18], at(34, "BIOS Version        : ZUB5120-1.02.07"));
    EXPECT_EQ(l[20], at(34, "QMB IPv4            : 10.1.2.3"));
    EXPECT_EQ(b.pcdValue(PcdZubVgaTextRow_TOKEN), 20u);
    EXPECT_EQ(l[27], at(18, "System Initializing..."));
    b.stage("[ZubOemPreProcInit]");
    EXPECT_EQ(b.lines()[27], at(18, "UPI Initializing..."));
    auto px = b.screen();
    EXPECT_EQ(px[452 * 800 + 144], 0x3285FFu);
    EXPECT_EQ(px[452 * 800 + 656], 0x40516Fu);
  }
  {
    ProgressBoard b(2, pcds);
    b.stage("[ZubOemPreProcInit]");
    b.memTest(50);
    b.warning(0xFFFFFFFF, 0x2004);
    auto px = b.screen();
    EXPECT_EQ(std::count(px.begin(), px.end(), 0u), std::ptrdiff_t(px.size())) << "logo only: nothing drawn";
  }
}

}  // namespace
}  // namespace zub::vgatest
