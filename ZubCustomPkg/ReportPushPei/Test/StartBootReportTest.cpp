// push_BiosStartBoot.json as the board's BMC receives it, parsed by nlohmann-json.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "ReportPushBoot.h"

namespace zub {
namespace {

using test::ReportPushBoot;

const Bmc::ReceivedFile* received(ReportPushBoot& r, const std::string& name) {
  for (const auto& f : r.boot.bmc().receivedFiles())
    if (f.name == name) return &f;
  return nullptr;
}

TEST(StartBootReport, DocumentCarriesTheVersionPcdsEscapedAndTheBuildTime) {
  struct Case {
    std::string code, intVer, extVer, hidden;
  } cases[] = {
      {"ZUB5120", "1.02.07.0311", "1.02.07", "B0311"},
      {"", "", "", ""},
      {"Q\"uote", "back\\slash", "tab\there", "line\nbreak"},
  };
  for (const auto& c : cases) {
    ReportPushBoot r(nlohmann::json{{"pcd", {{"PcdZubBiosCode", c.code}, {"PcdZubBiosIntVer", c.intVer},
                               {"PcdZubBiosExtVer", c.extVer}, {"PcdZubHiddenVer", c.hidden}}}});
    const auto* f = received(r, "push_BiosStartBoot.json");
    ASSERT_NE(f, nullptr);
    std::string text(f->bytes.begin(), f->bytes.end());
    ASSERT_TRUE(nlohmann::json::accept(text)) << text;
    auto doc = nlohmann::json::parse(text);
    std::string buildTime = doc.value("BuildTime", "");
    EXPECT_TRUE(std::regex_match(buildTime, std::regex(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2})"))) << buildTime;
    nlohmann::json expected = nlohmann::json::object(
        {{"Code", c.code}, {"IntVer", c.intVer}, {"ExtVer", c.extVer}, {"HideVer", c.hidden}, {"BuildTime", buildTime}});
    EXPECT_EQ(doc, expected);
    std::vector<std::string> keys;
    auto ordered = nlohmann::ordered_json::parse(text);
    for (auto& [k, v] : ordered.items()) keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"Code", "IntVer", "ExtVer", "HideVer", "BuildTime"}));
    EXPECT_EQ(text.substr(0, 8), "{\"Code\":");
    EXPECT_EQ(text.back(), '}');
    EXPECT_EQ(text.find(",}"), std::string::npos);
    // The pushed count is the text; the NUL of the last print follows it in the request area.
    EXPECT_EQ(r.request()[0x100 + text.size()], 0) << "after the closing brace";
  }
}

TEST(StartBootReport, PushedFilesLandInTheOutputsBmcFolderByteForByte) {
  ReportPushBoot r(nlohmann::json::object());
  auto dir = std::filesystem::temp_directory_path() / ("zub-bmc-out-" + std::to_string(::getpid()));
  r.boot.writeOutputs(dir);
  const auto* f = received(r, "push_BiosStartBoot.json");
  ASSERT_NE(f, nullptr);
  std::ifstream in(dir / "bmc" / "push_BiosStartBoot.json", std::ios::binary);
  std::string saved((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(saved, std::string(f->bytes.begin(), f->bytes.end()));
  std::filesystem::remove_all(dir);
}

TEST(StartBootReport, FetchRunsBeforeTheReportOnTheSameInstallation) {
  ReportPushBoot r(nlohmann::json::object());
  auto transfers = r.boot.events().ofType("quick_transfer");
  ASSERT_GE(transfers.size(), 2u);
  EXPECT_EQ(transfers[0]["command"], 8);
  EXPECT_EQ(transfers[1]["command"], 3);
  EXPECT_EQ(transfers[1]["file"], "push_BiosStartBoot.json");
  EXPECT_EQ(r.count("ReportPushPeiEntry  --- start\n"), 1u);
  EXPECT_EQ(r.count("ReportPushPeiEntry  --- finish\n"), 1u);
  EXPECT_EQ(r.count("ZubCustomUploadStartBootNotify ---start\n"), 1u);
}

}  // namespace
}  // namespace zub
