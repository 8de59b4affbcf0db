// The IIO hooks as the reference code's IIO initialisation calls them on the board.
#include <gtest/gtest.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

// Sockets 0 and 1 present; per-socket bytes; port records; 21 ports.
nlohmann::json iioBoard(int portIndex) {
  nlohmann::json block = {
      {"0x291D", "01 01 00 00"},
      {"0x2959", "10 11 12 13"},
      {"0x2991", "20 00 00 00 00 00 21"},
      {"0x29A9", "30 00 00 00 00 00 31"},
      {"0x3131", "15"},
  };
  std::string portBytes, records;
  for (int p = 0; p < 21; ++p) {
    char b[40];
    std::snprintf(b, sizeof b, "%02X ", 0x40 + p);
    portBytes += b;
    std::snprintf(b, sizeof b, "%02X %02X 00 00 00 00 00 00 00 00 ", 0x60 + p, 0x80 + p);
    records += b;
  }
  block["0x2A7D"] = portBytes;
  block["0x2D0A"] = records;
  return {{"firmware", {{"modules", {"SocketMapPeim"}}}},
          {"pcd", {{"PcdIioHookPortIndex", portIndex}}},
          {"iio", {{"block", block}}},
          {"timeline", {{{"dispatch", true}}, {{"iio_init", true}}}}};
}

nlohmann::json runIio(int portIndex, BootSession** keep = nullptr) {
  BootSession boot(boardWith(iioBoard(portIndex)), {});
  EXPECT_EQ(boot.run().end, BootEndKind::Completed);
  auto e = boot.events().ofType("iio_init");
  EXPECT_EQ(e.size(), 1u);
  return e.empty() ? nlohmann::json() : e[0];
}

TEST(SocketMapPeim, PortDetailsFollowTheIndexAndThePortCount) {
  struct Case {
    int pcd;
    int port, out2, out3, out4;
  } cases[] = {
      {0, 0, 0x40, 0x60, 0x80},
      {20, 20, 0x54, 0x74, 0x94},      // the last port of 21
      {21, 21, 0xFF, 0xFF, 0xFF},      // at the count: only PortOut says which
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // none
  };
  for (const auto& c : cases) {
    auto e = runIio(c.pcd);
    const auto& first = e["port_details"][0];
    EXPECT_EQ(first["port"], c.port) << c.pcd;
    EXPECT_EQ(first["out2"], c.out2) << c.pcd;
    EXPECT_EQ(first["out3"], c.out3) << c.pcd;
    EXPECT_EQ(first["out4"], c.out4) << c.pcd;
    const auto& second = e["port_details"][1];   // a second IIO instance: nothing
    for (const char* k : {"port", "out2", "out3", "out4"}) EXPECT_EQ(second[k], 0xFF) << k;
  }
}

TEST(SocketMapPeim, SocketMapHobHasPresentSocketsOnly) {
  BootSession boot(boardWith(iioBoard(0)), {});
  boot.run();
  nlohmann::json hob, summary = boot.summary();
  for (const auto& h : summary["hobs"])
    if (h.value("name", "") == "gEfiOpaSocketMapHobGuid") hob = h;
  ASSERT_FALSE(hob.is_null());
  std::string zeros24, zeros8 = "00 00 00 00 00 00 00 00";
  for (int i = 0; i < 24; ++i) zeros24 += i ? " 00" : "00";
  EXPECT_EQ(hob["data"], zeros24 + " 01 00 10 20 30 00 00 00 01 01 11 21 31 00 00 00 " + zeros8 + " " + zeros8);
  EXPECT_NE(boot.platform().debug.log().find("gEfiOpaSocketMapHobGuid Published!!!\n"), std::string::npos);
}

TEST(SocketMapPeim, WithoutTheModuleTheIioInitialisationCallsNothing) {
  auto board = iioBoard(0);
  board["firmware"]["modules"] = nlohmann::json::array({"SocketMapPeim"});
  board["timeline"] = {{{"iio_init", true}}, {{"dispatch", true}}};
  BootSession boot(boardWith(board), {});
  boot.run();
  EXPECT_EQ(boot.events().ofType("iio_init")[0]["hooks"], false);
}

}  // namespace
}  // namespace zub
