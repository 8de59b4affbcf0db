// `zubsim nvram build` and `zubsim nvram dump` as a user runs them: a store from a
// description, its dump, a store inside a flash image, and descriptions that are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Board/BoardNvram.h"
#include "Platform/NvarStore.h"
#include "ZubsimFixture.h"

namespace fs = std::filesystem;

namespace zub {
namespace {

struct NvramCli : ZubsimFixture {
  // Each call's own output.
  int nvram(std::vector<std::string> args) {
    out.str(""), err.str("");
    args.insert(args.begin(), "nvram");
    return zubsim(std::move(args));
  }
  fs::path write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
    return dir / name;
  }
};

TEST_F(NvramCli, BuildsTheDescribedStoreAndDumpsIt) {
  fs::path desc = write("store.json", R"({"size": 16384, "records": [
      {"name": "Setup", "guid": "EC87D643-EBA4-4BB5-A1E5-3F3E36B20DA9", "data": "01 02 03"},
      {"name": "Lang", "ucs2": true, "data_size": 4, "fill": 65, "next_record": 2},
      {"name": "Lang", "ucs2": true, "data": "65 6E"},
      {"name": "StdDefaults", "offset": 512, "nested": [{"setup_defaults": {"custom_id": 3}}]},
      {"name": "Bad", "next": 65535}]})");
  ASSERT_EQ(nvram({"build", desc.string(), (dir / "store.bin").string()}), 0) << err.str();
  std::string bytes = read(dir / "store.bin");
  std::vector<uint8_t> store(bytes.begin(), bytes.end());
  ASSERT_EQ(store.size(), 16384u);
  NvramStoreWalk w = walkNvramStore(store.data(), store.size());
  ASSERT_EQ(w.records.size(), 6u) << "five records and the padding in front of StdDefaults";
  EXPECT_EQ(w.records[4].offset, 512u);

  ASSERT_EQ(nvram({"dump", (dir / "store.bin").string()}), 0) << err.str();
  std::string d = out.str();
  for (const char* line : {
           "NVRAM store of 16384 bytes\n",
           "0x000000  size 0x0023  next -         flags 0x86 valid,guid,ascii  EC87D643-EBA4-4BB5-A1E5-3F3E36B20DA9  "
           "\"Setup\"  data 3\n",
           "0x000023  size 0x0019  next 0x000019  flags 0x80 valid,ucs2  guid #0  \"Lang\"  data 4\n",
           "0x000053  size 0x01AD  next -         flags 0x88 valid,data-only  data 419\n",
           "  nested store of ",
           "    0x000000  size 0x0021  next -         flags 0x82 valid,ascii  guid #1  \"ZubCustomInfo\"  data 8\n",
           "\"SocketIioConfig\"  data 8211\n",
           "    end at ",
           "chain \"Lang\": 0x000023 0x00003C\n",
           "chain \"Bad\": 0x0035C6  broken: next 0xFFFF from 0x35C6 leaves the store\n",
           "end at 0x0035D5: erased\n",
       })
    EXPECT_NE(d.find(line), std::string::npos) << line << "\n" << d;
}

TEST_F(NvramCli, DumpsTheStoreInsideTheFlashOfABootedBoard) {
  ASSERT_EQ(zubsim({"boot", "--state", (dir / "s").string(), "--out", (dir / "o").string()}), 0) << err.str();
  char offset[16], size[16];
  std::snprintf(offset, sizeof offset, "0x%X", kNvramStoreOffset);
  std::snprintf(size, sizeof size, "0x%X", kNvramStoreSize);
  ASSERT_EQ(nvram({"dump", (dir / "s" / "flash.bin").string(), "--offset", offset, "--size", size}), 0)
      << err.str();
  EXPECT_NE(out.str().find("\"StdDefaults\""), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\"ZubCustomInfo\"  data 8\n"), std::string::npos);
  EXPECT_NE(nvram({"dump", (dir / "s" / "flash.bin").string(), "--offset", "0x2000000"}), 0);
  EXPECT_NE(err.str().find("--offset lies past the end"), std::string::npos) << err.str();
}

TEST_F(NvramCli, ABadDescriptionNamesTheKeyAndWritesNothing) {
  struct Case {
    const char* description;
    const char* says;
  } cases[] = {
      {R"({"records": [{"data": "01"}]})", "records[0].name: a record needs a name"},
      {R"({"records": [{"name": "A", "guid": "nope"}]})", "records[0].guid: expected a GUID"},
      {R"({"records": [{"name": "A", "colour": 1}]})", "records[0].colour: unknown key"},
      {R"({"records": [{"name": "A", "data": "01", "nested": []}]})", "records[0]: give one of data, data_size, nested"},
      {R"({"size": 16, "records": [{"name": "A", "data_size": 100}]})", "the store holds 16"},
      {R"({"records": [{"name": "A", "next_record": 0}]})", "next_record must name a later record"},
      {R"({"records": [{"nested": [{"setup_defaults": {"custom_id": 256}}], "name": "S"}]})",
       "records[0].nested[0].setup_defaults.custom_id"},
      {R"([1, 2])", "not a JSON object"},
  };
  for (const auto& c : cases) {
    fs::path desc = write("bad.json", c.description);
    EXPECT_EQ(nvram({"build", desc.string(), (dir / "bad.bin").string()}), 2) << c.description;
    EXPECT_NE(err.str().find(c.says), std::string::npos) << c.description << "\n" << err.str();
    EXPECT_FALSE(fs::exists(dir / "bad.bin")) << c.description;
  }
}

}  // namespace
}  // namespace zub
