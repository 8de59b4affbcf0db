// VgaDecodePei on the simulated board: the PCI path, the BARs, the PCDs and the register
// values the AST2500 model holds afterwards. The expected CRTC timing values were worked
// out by hand from the 800x600 60 Hz timing (1056/800/40/128, 628/600/1/4).
#include <gtest/gtest.h>

#include <Ppi/ZubLog.h>

#include "ConsoleBoard.h"
#include "Devices/Ast2500.h"
#include "Devices/Ast2500Screen.h"
#include "Devices/Chipset.h"

namespace zub::vgatest {
namespace {

std::unique_ptr<BootSession> bootWith(std::vector<std::string> modules, uint32_t eax = 0x606A6,
                                      uint32_t videoMb = 16) {
  BoardConfig b = defaultBoard();
  b.modules = std::move(modules);
  b.timeline = {TimelineStep{}};
  b.cpuid[1].eax = eax;
  b.videoMemoryMb = videoMb;
  auto boot = std::make_unique<BootSession>(b, PersistentState{});
  boot->start();
  return boot;
}

uint32_t pcd(BootSession& b, uint32_t token) { return uint32_t(b.platform().pcd.number(token)); }
bool logHas(BootSession& b, const std::string& s) { return b.platform().debug.log().find(s) != std::string::npos; }

TEST(VgaDecodePei, PathBarsAndPcds) {
  auto boot = bootWith({"VgaDecodePei"});
  ASSERT_EQ(boot->dispatcher().dispatch("VgaDecodePei"), EFI_SUCCESS) << boot->platform().debug.log();
  EXPECT_EQ(pcd(*boot, PcdZubVgaMemoryBase_TOKEN), 0x90000000u);
  EXPECT_EQ(pcd(*boot, PcdZubVgaMemorySize_TOKEN), 0x01000000u);
  EXPECT_EQ(pcd(*boot, PcdZubVgaPciAddress_TOKEN), 0x00200000u);   // bus 2, device 0, function 0
  EXPECT_EQ(pcd(*boot, PcdZubVgaMmioBase_TOKEN), 0x91000000u);

  auto& m = boot->machine();
  auto ecam = [&](uint32_t bus, uint32_t dev, uint32_t off, unsigned bytes) {
    return uint32_t(m.mmioRead(0x80000000u + (bus << 20) + (dev << 15) + off, bytes));
  };
  struct BridgeCase { uint32_t bus, dev, busNumbers; } bridges[] = {{0, 0x1C, 0x00080100}, {1, 0, 0x00080201}};
  for (const auto& c : bridges) {
    SCOPED_TRACE(c.bus);
    EXPECT_EQ(ecam(c.bus, c.dev, 0x18, 4), c.busNumbers);
    EXPECT_EQ(ecam(c.bus, c.dev, 0x20, 4), 0x94109000u);
    EXPECT_EQ(ecam(c.bus, c.dev, 0x3E, 1) & 0x08, 0x08u);
    EXPECT_EQ(ecam(c.bus, c.dev, 0x04, 1) & 0x03, 0x03u);
  }
  EXPECT_EQ(ecam(2, 0, 0x00, 4), 0x20001A03u);
  EXPECT_EQ(ecam(2, 0, 0x10, 4), 0x90000000u);
  EXPECT_EQ(ecam(2, 0, 0x14, 4), 0x91000000u);
  EXPECT_EQ(ecam(2, 0, 0x04, 1) & 0x03, 0x03u);

  for (const char* line : {"VgaDecodePeiEntryPoint ---start\n", "AST Device VGA Memory Size: 0x1000000 (16MB)\n",
                           "VgaMmioBase: 0x90000000\n", "VgaMmioLimit: 0x1000000 (16 MB)\n",
                           "VgaPciAddress: 0x200000\n", "Early VGA Device Finished ...\n"})
    EXPECT_TRUE(logHas(*boot, line)) << line;
}

TEST(VgaDecodePei, RegistersOfThe800x600Mode) {
  auto boot = bootWith({"VgaDecodePei"});
  ASSERT_NE(boot->video(), nullptr);
  std::fill_n(boot->video()->videoMemory(), kFrameBytes + 64, 0xAA);
  ASSERT_EQ(boot->dispatcher().dispatch("VgaDecodePei"), EFI_SUCCESS);
  Ast2500& v = *boot->video();

  const std::pair<uint8_t, uint8_t> crtc[] = {
      {0x00, 0x7F}, {0x01, 0x63}, {0x02, 0x63}, {0x03, 0x83}, {0x04, 0x68}, {0x05, 0x18}, {0x06, 0x72},
      {0x07, 0xE0}, {0x08, 0x00}, {0x09, 0x60}, {0x10, 0x58}, {0x11, 0x8C}, {0x12, 0x57}, {0x13, 0x90},
      {0x14, 0x40}, {0x15, 0x57}, {0x16, 0x73}, {0x17, 0xA3}, {0x18, 0xFF}, {0x80, 0x00}, {0x81, 0x00},
      {0x8C, 0x30}, {0x8D, 0x02}, {0x8E, 0x30}, {0xA0, 0xF0}, {0xA1, 0x00}, {0xA2, 0x1C}, {0xA3, 0x08},
      {0xA6, 0x60}, {0xA7, 0x78}, {0xA8, 0x00}, {0xAC, 0x00}, {0xAD, 0x04}, {0xAE, 0xA0}, {0xB0, 0x01},
      {0xB6, 0x04}, {0xBB, 0x70}, {0xC0, 0x31}, {0xC1, 0x28},
  };
  for (auto [i, value] : crtc) EXPECT_EQ(v.crtc(i), value) << "CR" << std::hex << int(i);
  const uint8_t seq[] = {0x03, 0x01, 0x0F, 0x00, 0x0E};
  for (uint8_t i = 0; i < 5; ++i) EXPECT_EQ(v.sequencer(i), seq[i]) << "SR" << int(i);
  for (uint8_t i = 0; i < 16; ++i) EXPECT_EQ(v.attribute(i), i);
  EXPECT_EQ(v.attribute(0x10), 0x01);
  EXPECT_EQ(v.attribute(0x14), 0x00);
  EXPECT_EQ(v.attributeIndex() & 0x20, 0x20) << "palette address source back on";
  const uint8_t gr[] = {0, 0, 0, 0, 0, 0, 0x05, 0x0F, 0xFF};
  for (uint8_t i = 0; i < 9; ++i) EXPECT_EQ(v.graphics(i), gr[i]) << "GR" << int(i);
  EXPECT_EQ(v.miscOutput(), 0x2F);
  EXPECT_EQ(v.vgaEnable(), 0x01);
  EXPECT_EQ(v.dacMask(), 0xFF);

  // The VGA BIOS default palette: EGA colours, grey ramp, the hue wheels, black.
  const std::pair<uint8_t, std::array<uint8_t, 3>> dac[] = {
      {0x01, {0x00, 0x00, 0x2A}}, {0x06, {0x2A, 0x15, 0x00}}, {0x0F, {0x3F, 0x3F, 0x3F}},
      {0x11, {0x05, 0x05, 0x05}}, {0x1F, {0x3F, 0x3F, 0x3F}}, {0x20, {0x00, 0x00, 0x3F}},
      {0x28, {0x3F, 0x00, 0x00}}, {0x30, {0x00, 0x3F, 0x00}}, {0x38, {0x1F, 0x1F, 0x3F}},
      {0x68, {0x00, 0x00, 0x1C}}, {0xB0, {0x00, 0x00, 0x10}}, {0xF7, {0x0B, 0x0C, 0x10}},
      {0xF8, {0x00, 0x00, 0x00}},
  };
  for (const auto& [i, rgb] : dac) EXPECT_EQ(v.dac(i), rgb) << "DAC " << int(i);

  Ast2500ScanOut s = v.scanOut();
  EXPECT_FALSE(s.screenOff);
  EXPECT_TRUE(s.trueColor);
  EXPECT_EQ(s.width, 800u);
  EXPECT_EQ(s.height, 600u);
  EXPECT_EQ(s.pitchBytes, 3200u);
  EXPECT_EQ(s.startAddress, 0u);

  const uint8_t* vram = v.videoMemory();
  EXPECT_EQ(std::count(vram, vram + kFrameBytes, 0), std::ptrdiff_t(kFrameBytes)) << "screen cleared";
  EXPECT_EQ(vram[kFrameBytes], 0xAA) << "nothing cleared past the screen";
}

TEST(VgaDecodePei, RootBusDecodeOnlyOnIceLake) {
  struct Case { uint32_t eax; bool decodes; } cases[] = {{0x50654, false}, {0x606A6, true}};
  for (const auto& c : cases) {
    auto boot = bootWith({"VgaDecodePei"}, c.eax);
    ASSERT_EQ(boot->dispatcher().dispatch("VgaDecodePei"), EFI_SUCCESS);
    EXPECT_EQ(boot->chipset().rootComplex.rootBus1Decode(), c.decodes) << std::hex << c.eax;
    EXPECT_EQ(logHas(*boot, "Enable the early console VGA device bus decoding for ICX cpu\n"), c.decodes);
    EXPECT_EQ(logHas(*boot, "ROOTBUS_1_0_0_CFG After Set : 0x8000 \n"), c.decodes);
  }
}

struct LogRange {
  static inline UINT32 base = 0, length = 0, calls = 0;
  static EFI_STATUS EFIAPI set(ZUB_LOG_PPI*, UINT32 b, UINT32 l) {
    base = b, length = l, ++calls;
    return EFI_SUCCESS;
  }
};

TEST(VgaDecodePei, LogWindowFourMegabytesBelowTheEndOfVideoMemory) {
  for (uint32_t mb : {16u, 64u}) {
    auto boot = bootWith({"VgaDecodePei"}, 0x606A6, mb);
    static ZUB_LOG_PPI log = {LogRange::set};
    static EFI_PEI_PPI_DESCRIPTOR desc = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
                                          &gZubLogPpiGuid, &log};
    ASSERT_EQ(boot->core().installPpi(&desc), EFI_SUCCESS);
    LogRange::calls = 0;
    ASSERT_EQ(boot->dispatcher().dispatch("VgaDecodePei"), EFI_SUCCESS);
    EXPECT_EQ(LogRange::calls, 1u);
    EXPECT_EQ(LogRange::base, 0x90000000u + (mb << 20) - 0x400000u);
    EXPECT_EQ(LogRange::length, 0x100000u);
    EXPECT_EQ(pcd(*boot, PcdZubVgaMmioBase_TOKEN), 0x90000000u + (mb << 20));
  }
}

TEST(VgaDecodePei, ConsoleTextReachesTheScreenFiles) {
  auto boot = bootWith({"VgaDecodePei", "TextConsolePei"});
  ASSERT_EQ(boot->dispatcher().dispatch("VgaDecodePei"), EFI_SUCCESS);
  ASSERT_EQ(boot->dispatcher().dispatch("TextConsolePei"), EFI_SUCCESS);
  auto* d = boot->locate<EARLY_VGA_DISPLAY_PPI>(gEarlyVgaDisplayPpiGuid);
  ASSERT_NE(d, nullptr);
  d->DrawString(d, 1, 15, 0xFFFFFFFF, 0, "Memory Initializing...");
  d->DrawString(d, 93, 15, 0xFF00FF00, 0, "[Done]");
  std::string text = readScreenText(scanOutScreen(*boot->video()));
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(text.substr(at, nl - at));
  ASSERT_GE(lines.size(), 37u);
  EXPECT_EQ(lines[15], " Memory Initializing..." + std::string(70, ' ') + "[Done]");
  EXPECT_NE(text.find("row 15 col 93-98 color 0x00FF00\n"), std::string::npos);

  auto dir = std::filesystem::temp_directory_path() / "VgaDecodePeiTest.out";
  boot->writeOutputs(dir);
  EXPECT_TRUE(std::filesystem::file_size(dir / "screen.png") > 0);
  EXPECT_EQ(readFile(dir / "screen.txt").size(), text.size());
  std::filesystem::remove_all(dir);
}

TEST(VgaDecodePei, ScreenIsBlackUntilProgrammed) {
  auto boot = bootWith({"VgaDecodePei"});
  std::fill_n(boot->video()->videoMemory(), kFrameBytes, 0xFF);
  auto screen = scanOutScreen(*boot->video());
  EXPECT_EQ(std::count(screen.begin(), screen.end(), 0u), std::ptrdiff_t(screen.size()));
}

}  // namespace
}  // namespace zub::vgatest

namespace zub::vgatest {
namespace {

// Boards whose video path is not the AST2500's: nothing is programmed and the PCDs keep
// their defaults.
TEST(VgaDecodePei, AnotherOrAMissingVideoDeviceIsNotBroughtUp) {
  PciNodeConfig otherVga;
  otherVga.identity = {0x1A03, 0x2010, 0x030000, 0x01};
  otherVga.barSizes = {0x01000000};
  PciNodeConfig bridge;
  bridge.identity = {0x1A03, 0x1150, 0x060400, 0x04};
  bridge.bridge = true;
  bridge.children = {otherVga};
  struct Case {
    const char* name;
    std::vector<PciNodeConfig> path;
    const char* says;
  } cases[] = {
      {"another VGA device", {bridge}, "VGA device 0x1A03 0x2010 is not ast 2500\n"},
      {"nothing behind the root port", {}, "PCI Read Data16: 0xFFFF\n"},
  };
  for (const auto& c : cases) {
    BoardConfig b = defaultBoard();
    b.modules = {"VgaDecodePei"};
    b.timeline = {TimelineStep{}};
    b.behindRootPort = c.path;
    BootSession boot(b, PersistentState{});
    boot.start();
    EXPECT_EQ(boot.dispatcher().dispatch("VgaDecodePei"), EFI_NOT_FOUND) << c.name;
    EXPECT_TRUE(logHas(boot, c.says)) << c.name;
    EXPECT_TRUE(logHas(boot, "Failed to init vga device Not Found\n")) << c.name;
    EXPECT_FALSE(logHas(boot, "Early VGA Device Start ...\n")) << c.name;
    for (uint32_t t : {PcdZubVgaMemoryBase_TOKEN, PcdZubVgaMemorySize_TOKEN, PcdZubVgaPciAddress_TOKEN,
                       PcdZubVgaMmioBase_TOKEN})
      EXPECT_EQ(pcd(boot, t), 0u) << c.name;
  }
}

}  // namespace
}  // namespace zub::vgatest
