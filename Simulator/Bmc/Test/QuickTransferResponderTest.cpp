// The board BMC's quick-transfer responder driven by hand-made requests (zlib CRCs): it
// refuses what fails its checks and answers the rest with a well-formed header.
#include <gtest/gtest.h>

#include "Bmc/BmcPeiParam.h"
#include "Bmc/TestSupport/QuickTransferBoard.h"

namespace zub {
namespace {

using test::QuickTransferBoot;
using test::zcrc;

const std::vector<uint8_t> kTrigger = {0x5B, 0x4E, 0x00, 0x20};

void writeRequest(uint8_t* r, uint16_t command, const std::string& data, const std::string& name = "") {
  std::memset(r, 0, 256);
  storeLe(r + 4, 4, qt::kSignature);
  storeLe(r + 8, 2, command);
  storeLe(r + 10, 2, 1);
  storeLe(r + 0x10, 4, 1);
  storeLe(r + 0x14, 4, data.size());
  std::memcpy(r + 0x100, data.data(), data.size());
  storeLe(r + 0x18, 4, data.empty() ? 0 : zcrc(r + 0x100, data.size()));
  std::memcpy(r + 0x20, name.data(), name.size());
  storeLe(r + 0x20 + 0x84, 8, data.size());
  storeLe(r, 4, zcrc(r + 4, 252));
}

TEST(QuickTransferResponder, RefusesRequestsThatFailItsChecks) {
  struct Case {
    const char* name;
    std::function<void(uint8_t*)> spoil;
    const char* error;
  } cases[] = {
      {"header crc", [](uint8_t* r) { r[0] ^= 1; }, "header crc"},
      {"signature", [](uint8_t* r) { r[4] = 'X'; storeLe(r, 4, zcrc(r + 4, 252)); }, "signature"},
      {"data crc", [](uint8_t* r) { r[0x100] ^= 1; }, "data crc"},
      {"data length beyond the area",
       [](uint8_t* r) { storeLe(r + 0x14, 4, 0xFFF01); storeLe(r, 4, zcrc(r + 4, 252)); }, "data length"},
  };
  for (const auto& c : cases) {
    QuickTransferBoot q(defaultBoard(), {});
    writeRequest(q.request(), qt::kPushFile, "abc", "f.txt");
    c.spoil(q.request());
    auto answer = q.boot.bmc().request(0x36, 0, 0x04, kTrigger);
    ASSERT_TRUE(answer);
    EXPECT_EQ((*answer)[0], 0xCC) << c.name;
    auto ev = q.boot.events().ofType("quick_transfer");
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["error"], c.error);
    EXPECT_TRUE(q.boot.bmc().receivedFiles().empty());
  }
}

TEST(QuickTransferResponder, AnswersWithAWellFormedHeader) {
  QuickTransferBoot q(boardWith({{"bmc", {{"files", {{{"name", "a.bin"}, {"data", "01 02 03"}}}}}}}), {});
  writeRequest(q.request(), qt::kGetFile, "", "a.bin");
  storeLe(q.request() + 0x20 + 0x84, 8, 0xFFEFC);
  storeLe(q.request(), 4, zcrc(q.request() + 4, 252));
  auto answer = q.boot.bmc().request(0x36, 0, 0x04, kTrigger);
  ASSERT_TRUE(answer);
  EXPECT_EQ((*answer)[0], 0x00);
  const uint8_t* a = q.answer();
  EXPECT_EQ(q.u32(a, 0), zcrc(a + 4, 252));
  EXPECT_EQ(q.u32(a, 4), qt::kSignature);
  EXPECT_EQ(q.u32(a, 0x0C), qt::kResultOk);
  EXPECT_EQ(q.u32(a, 0x14), 3u);
  EXPECT_EQ(q.u32(a, 0x18), zcrc(a + 0x100, 3));
  EXPECT_EQ(q.u32(a, 0x20), 3u) << "FileSize";
  EXPECT_EQ(std::vector<uint8_t>(a + 0x100, a + 0x103), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(QuickTransferResponder, OtherOemSubCommandsAreNotTakenForTheTrigger) {
  QuickTransferBoot q(defaultBoard(), {});
  auto answer = q.boot.bmc().request(0x36, 0, 0x04, {0x5B, 0x4E, 0x00, 0x13});
  ASSERT_TRUE(answer);
  EXPECT_NE((*answer)[0], 0x00);
  EXPECT_TRUE(q.boot.events().ofType("quick_transfer").empty());
}

TEST(QuickTransferResponder, PeiParamBlockLayout) {
  BmcPeiParamConfig p;
  p.oemFlag = 1, p.checkArea = 2, p.customId = 3, p.forceCleanLogoCache = 4, p.netIfMode = 5;
  p.dedicatedIpv4 = "1.2.3.4", p.dedicatedIpv6 = "::1", p.shareIpv4 = "5.6.7.8", p.shareIpv6 = "::2";
  p.xDragonSlot = 0xAA, p.moc15Slot = 0xBB;
  auto b = bmcPeiParamBytes(p);
  ASSERT_EQ(b.size(), 188u);
  for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(loadLe(b.data() + 4 * i, 4), i + 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 0x14), "1.2.3.4");
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 0x24), "::1");
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 0x64), "5.6.7.8");
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 0x74), "::2");
  EXPECT_EQ(loadLe(b.data() + 0xB4, 4), 0xAAu);
  EXPECT_EQ(loadLe(b.data() + 0xB8, 4), 0xBBu);
  p.dataLength = 184;
  EXPECT_EQ(bmcPeiParamBytes(p).size(), 184u);
}

}  // namespace
}  // namespace zub
