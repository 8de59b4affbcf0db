// The board's SPI flash from the board file: its keys, the first image with the built-in
// firmware volume, the customer logo set at the BMC, and the flash across boots.
#include <gtest/gtest.h>

#include <Pi/PiFirmwareVolume.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Board/LogoImages.h"
#include "Devices/SpiFlash.h"
#include "Foundation/FirmwareVolume.h"
#include "Foundation/Guid.h"

namespace zub {
namespace {

std::string errorOf(const nlohmann::json& changes) {
  try {
    boardWith(changes);
  } catch (const BoardFileError& e) {
    return e.key;
  }
  return "";
}

TEST(BoardFlash, KeysAreCheckedAndNamed) {
  EXPECT_EQ(errorOf({{"flash", {{"bios_region_mb", 10}}}}), "flash.bios_region_mb") << "the built-in volume needs 11 MB";
  EXPECT_EQ(errorOf({{"flash", {{"bios_region_mb", 17}}}}), "flash.bios_region_mb");
  EXPECT_EQ(errorOf({{"flash", {{"power_loss_at_op", -1}}}}), "flash.power_loss_at_op");
  EXPECT_EQ(errorOf({{"flash", {{"power_los_at_op", 1}}}}), "flash.power_los_at_op");
  EXPECT_EQ(errorOf({{"bmc", {{"customer_logos", 1}}}}), "bmc.customer_logos");
  BoardConfig b = boardWith({{"flash", {{"bios_region_mb", 12}, {"power_loss_at_op", 7}}}});
  EXPECT_EQ(b.flash.biosRegionMb, 12u);
  EXPECT_EQ(b.flash.powerLossAtOp, 7u);
}

// A BMP file header and BITMAPINFOHEADER as the format defines them.
void expectBmp(const std::vector<uint8_t>& f) {
  ASSERT_GE(f.size(), 54u);
  auto u32 = [&](size_t at) { return uint32_t(f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t(f[at + 3]) << 24); };
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(u32(2), f.size());
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  uint32_t w = u32(18), h = u32(22);
  EXPECT_EQ(f[28], 24);
  EXPECT_EQ(f.size(), 54 + ((w * 3 + 3) & ~3u) * h);
}

TEST(BoardFlash, TheBmcHoldsTheCustomerLogoSetUnlessTheBoardReplacesOrDropsIt) {
  BoardConfig b = defaultBoard();
  ASSERT_EQ(b.bmc.files.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(b.bmc.files[i].first, customerLogoNames()[i]);
    expectBmp(b.bmc.files[i].second);
  }
  BoardConfig replaced = boardWith({{"bmc", {{"files", {{{"name", "bios_logo_post.bmp"}, {"text", "x"}}}}}}});
  ASSERT_EQ(replaced.bmc.files.size(), 3u);
  EXPECT_EQ(replaced.bmc.files[0].first, "bios_logo_post.bmp");
  EXPECT_EQ(replaced.bmc.files[0].second, std::vector<uint8_t>{'x'});
  EXPECT_TRUE(boardWith({{"bmc", {{"customer_logos", false}}}}).bmc.files.empty());
}

TEST(BoardFlash, TheFirstImageIsErasedWithTheBuiltInVolumeAtItsOffset) {
  BoardConfig b = defaultBoard();
  std::vector<uint8_t> image = freshFlashImage(b);
  ASSERT_EQ(image.size(), 16u << 20);
  EXPECT_EQ(image[0x940000], 0xFF) << "the logo area starts erased";
  auto files = listFfsFiles(image.data() + kBuiltInFvOffset, kBuiltInFvSize);
  const char* logos[] = {"B976FAA2-6181-41FA-A9BC-5AD54B8E02F5", "282FE8C0-FD6E-4D75-B647-331F4016AB7B",
                         "CCD79841-34CA-4257-8265-96D21CF10438", "09104A1D-7160-418B-85D8-F5BCAB2F0C72",
                         "9A4671BB-C6D2-4BE2-832C-E3E64E9B9CC0", "EF6E9DBF-1255-435C-B592-65FE7824762E"};
  for (const char* name : logos) {
    SCOPED_TRACE(name);
    auto it = std::find_if(files.begin(), files.end(), [&](const FfsFileView& f) {
      return guidToString(*reinterpret_cast<const EFI_GUID*>(f.header)) == name;
    });
    ASSERT_NE(it, files.end());
    size_t size = 0;
    const uint8_t* raw = findSectionData(*it, EFI_SECTION_RAW, &size);
    ASSERT_NE(raw, nullptr);
    expectBmp(std::vector<uint8_t>(raw, raw + size));
  }
}

TEST(BoardFlash, TheFlashPersistsAndAStateOfAnotherRegionSizeIsRefused) {
  BoardConfig b = defaultBoard();
  b.modules = {"IpmiRelayPei"};
  b.timeline = {};
  PersistentState state;
  {
    BootSession s(b, state);
    s.start();
    uint8_t data[4] = {1, 2, 3, 4};
    ASSERT_EQ(s.flash().program(0x100, 4, data), SpiFlash::Result::Ok);
    state = s.stateAfter();
  }
  EXPECT_EQ(state.flashOperations, 1u);
  BootSession again(b, state);
  EXPECT_EQ(again.flash().image()[0x101], 2);
  EXPECT_EQ(again.machine().mmioRead(0xFF000102, 1), 3u);
  b.flash.biosRegionMb = 12;
  EXPECT_THROW(BootSession(b, state), std::runtime_error);
}

TEST(BoardFlash, TheBoardsPowerLossComesOnceInTheLifeOfTheState) {
  BoardConfig b = defaultBoard();
  b.modules = {"IpmiRelayPei"};
  b.timeline = {};
  b.flash.powerLossAtOp = 2;
  uint8_t data[4] = {};
  PersistentState state;
  for (int boot = 1; boot <= 3; ++boot) {
    SCOPED_TRACE(boot);
    BootSession s(b, state);
    s.start();
    bool lost = false;
    try {
      s.flash().program(0x100, 4, data);
    } catch (const BootEnd& end) {
      lost = end.kind == BootEndKind::PowerLoss;
    }
    EXPECT_EQ(lost, boot == 2) << "operation 2 of the state is the first of boot 2";
    state = s.stateAfter();
    EXPECT_EQ(state.flashOperations, uint64_t(boot));
  }
}

}  // namespace
}  // namespace zub
