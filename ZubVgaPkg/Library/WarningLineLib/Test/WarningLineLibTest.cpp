// ShowWarning drawing through the real TextConsolePei image, read back from the pixels.
#include <gtest/gtest.h>

#include <Library/WarningLineLib.h>

#include "ConsoleBoard.h"
#include "Devices/Ast2500Screen.h"

namespace zub::vgatest {
namespace {

std::vector<std::string> screenLines(ConsoleBoard& b) {
  std::vector<uint32_t> px(b.pixels(), b.pixels() + 800 * 600);
  for (auto& p : px) p &= 0xFFFFFF;
  std::string text = readScreenText(px);
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(text.substr(at, nl - at));
  return lines;
}

std::string pad(std::string s, size_t column) { return std::string(column, ' ') + s; }

struct WarningCase {
  const char* what;
  uint32_t code;
  uint8_t rowArg;
  uint16_t textRow;
  bool warningShown;
  uint8_t layout;
  int row;             // where the line goes; -1: nothing drawn
  bool done;           // "[Done]" on the row above
  const char* text;
};

TEST(ShowWarning, RowsDoneMarksAndUnknownCodes) {
  const WarningCase cases[] = {
      {"row above the next", 0x200C, 0xFF, 16, false, 0, 15, true,
       "WARNING: Memory Mirror degraded to Independent mode."},
      {"row 12 is not above 12", 0x200C, 0xFF, 13, false, 0, 12, false,
       "WARNING: Memory Mirror degraded to Independent mode."},
      {"after another warning line", 0x2004, 0xFF, 20, true, 0, 19, false,
       "WARNING: Some DIMMs cannot be trained and have been disabled."},
      {"unknown code", 0x9999, 0xFF, 16, false, 0, 15, true, "Unknown Error Type!"},
      {"0x200E is not a code", 0x200E, 0xFF, 16, false, 0, 15, true, "Unknown Error Type!"},
      {"explicit row", 0x7001, 20, 30, false, 0, 20, true, "WARNING:CPU BIST issue. Faulty cores have been disabled."},
      {"other layouts draw", 0xF001, 0xFF, 16, false, 7, 15, true, "WARNING: Maintenance switch SW6 is on."},
      {"logo layout", 0x200C, 0xFF, 16, false, 1, -1, false, ""},
      {"logo-only layout", 0x200C, 0xFF, 16, false, 2, -1, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ConsoleBoard b;
    auto* d = b.display();
    auto& pcd = b.boot->platform().pcd;
    pcd.setNumber(PcdZubVgaTextRow_TOKEN, c.textRow);
    pcd.setNumber(PcdZubVgaWarningShown_TOKEN, c.warningShown);
    EXPECT_EQ(ShowWarning(d, c.layout, c.code, c.rowArg), EFI_SUCCESS);
    auto lines = screenLines(b);
    if (c.row < 0) {
      for (const auto& l : lines) EXPECT_EQ(l, "");
      EXPECT_EQ(pcd.number(PcdZubVgaTextRow_TOKEN), c.textRow);
      EXPECT_EQ(pcd.number(PcdZubVgaWarningShown_TOKEN), c.warningShown);
      continue;
    }
    char code[8];
    std::snprintf(code, sizeof code, "[%04X]", c.code);
    EXPECT_EQ(lines[c.row], pad(code, 1) + " " + c.text) << "the text overwrites the second blank";
    std::string above = c.row > 0 ? lines[c.row - 1] : "";
    EXPECT_EQ(above, c.done ? pad("[Done]", 93) : "");
    EXPECT_EQ(pcd.number(PcdZubVgaTextRow_TOKEN), uint64_t(c.row + 1));
    EXPECT_EQ(pcd.number(PcdZubVgaWarningShown_TOKEN), 1u);
  }
}

TEST(ShowWarning, LineIsRedAndDoneIsGreen) {
  ConsoleBoard b;
  auto* d = b.display();
  b.boot->platform().pcd.setNumber(PcdZubVgaTextRow_TOKEN, 16);
  ShowWarning(d, 0, 0x1004, 0xFF);
  std::vector<uint32_t> px(b.pixels(), b.pixels() + 800 * 600);
  for (auto& p : px) p &= 0xFFFFFF;
  std::string text = readScreenText(px);
  EXPECT_NE(text.find("row 15 col 1-6 color 0xFF0000\n"), std::string::npos) << text;
  EXPECT_NE(text.find("row 14 col 93-98 color 0x00FF00\n"), std::string::npos);
  EXPECT_EQ(text.find("color 0xFFFFFF"), std::string::npos);
}

TEST(WarnCodeTable, FortyThreeCodesInGroupsWithOneSharedText) {
  ASSERT_EQ(WarnCodeTableCount, 43u);
  std::map<std::string, int> texts;
  for (size_t i = 0; i < WarnCodeTableCount; ++i) {
    const auto& e = WarnCodeTable[i];
    EXPECT_STREQ(WarnCodeText(e.Code), e.Text);
    if (i) EXPECT_LT(WarnCodeTable[i - 1].Code, e.Code) << "sorted, no duplicates";
    unsigned group = e.Code >> 12;
    EXPECT_TRUE(group == 1 || group == 2 || group == 3 || group == 5 || group == 6 || group == 7 || group == 8 ||
                group == 0xC || group == 0xF) << std::hex << e.Code;
    std::string t = e.Text;
    EXPECT_TRUE(t.rfind("WARNING:", 0) == 0 || t.rfind("ERROR:", 0) == 0) << t;
    EXPECT_LE(t.size() + 8, 100u) << "fits the line from column 8";
    ++texts[t];
  }
  EXPECT_STREQ(WarnCodeText(0x1001), WarnCodeText(0x1003));
  EXPECT_EQ(texts.size(), 42u);
  EXPECT_STREQ(WarnCodeText(0x200E), "Unknown Error Type!");
  EXPECT_STREQ(WarnCodeText(0xC001), "ERROR: BIOS flash firmware damaged. System halt occurred.");
}

}  // namespace
}  // namespace zub::vgatest
