// Configuration, memory and legacy VGA cycles through the board's PCI hierarchy, with the
// video path programmed the way the VGA bring-up programs it.
#include <gtest/gtest.h>

#include <Devices/Chipset.h>
#include <Devices/PciEndpoint.h>

#include "EcamAddress.h"

namespace zub {
namespace {

using test::ecam;
constexpr uint32_t kVram = 0x90000000;

// A VGA model that claims the legacy ranges through the hooks the video device uses.
class LegacyVgaModel : public PciEndpoint {
public:
  explicit LegacyVgaModel(const PciNodeConfig& n) : PciEndpoint(n.identity, n.barSizes) {}
  PortDevice* legacyVgaPorts() override { return &ports_; }
  MemoryDevice* legacyVgaMemory() override { return &window_; }

private:
  struct Registers : PortDevice {
    uint8_t regs[0x30]{};
    uint32_t ioRead(uint16_t port, unsigned) override { return regs[port - 0x3B0]; }
    void ioWrite(uint16_t port, unsigned, uint32_t v) override { regs[port - 0x3B0] = uint8_t(v); }
  } ports_;
  BarMemory window_{0x20000};
};

struct Board {
  Board() : chipset(machine) {}
  explicit Board(const PciModelFactories& f, const ChipsetConfig& c = defaultVideoBoard()) : chipset(machine, c, f) {}
  static const ChipsetConfig& defaultVideoBoard() {
    static const ChipsetConfig config;
    return config;
  }
  uint32_t cfg(unsigned bus, unsigned dev, unsigned fn, unsigned off, unsigned bytes = 4) {
    return uint32_t(machine.mmioRead(ecam(bus, dev, fn, off), bytes));
  }
  void setCfg(unsigned bus, unsigned dev, unsigned fn, unsigned off, unsigned bytes, uint32_t v) {
    machine.mmioWrite(ecam(bus, dev, fn, off), bytes, v);
  }
  Machine machine;
  Chipset chipset;
};

const PciModelFactories kLegacyVga = {
    {"ast2500", [](const PciNodeConfig& n) { return std::make_unique<LegacyVgaModel>(n); }}};

struct WalkResult {
  bool found = false;
  unsigned bus = 0;
  uint32_t size = 0;
};

// The bring-up's walk of the fixed path 1C.0 → 0.0 → 0.0, through memory-mapped
// configuration space, with its exact register writes.
WalkResult bringUpVideoPath(Board& b) {
  unsigned bus = 0, nextBus = 1;
  const unsigned path[][2] = {{0x1C, 0}, {0, 0}, {0, 0}};
  for (auto [dev, fn] : path) {
    uint32_t vendor = b.cfg(bus, dev, fn, 0x00, 2);
    if (vendor == 0xFFFF || vendor == 0) continue;
    uint32_t classCode = b.cfg(bus, dev, fn, 0x08) >> 8;
    if (classCode == 0x060400) {
      b.setCfg(bus, dev, fn, 0x18, 4, bus | nextBus << 8 | 8 << 16);
      b.setCfg(bus, dev, fn, 0x1C, 2, 0x00FF);
      b.setCfg(bus, dev, fn, 0x20, 4, 0x94109000);
      b.setCfg(bus, dev, fn, 0x24, 4, 0x0000FFFF);
      b.setCfg(bus, dev, fn, 0x3E, 1, 0x08);
      b.setCfg(bus, dev, fn, 0x04, 1, 0x03);
      bus = nextBus++;
    } else if (classCode == 0x030000) {
      if (b.cfg(bus, dev, fn, 0x00) != 0x20001A03) continue;
      b.setCfg(bus, dev, fn, 0x04, 1, 0x03);
      b.setCfg(bus, dev, fn, 0x10, 4, 0xFFFFFFFF);
      uint32_t size = 0 - b.cfg(bus, dev, fn, 0x10);
      b.setCfg(bus, dev, fn, 0x10, 4, kVram);
      b.setCfg(bus, dev, fn, 0x14, 4, kVram + size);
      return {true, bus, size};
    }
  }
  return {};
}

TEST(PciConfig, AbsentFunctionsReadAllOnes) {
  Board b;
  struct Case {
    unsigned bus, dev, fn, off, bytes;
  };
  const Case cases[] = {
      {0, 5, 0, 0x00, 4}, {0, 5, 0, 0x02, 2}, {0, 5, 0, 0x0E, 1}, {0, 5, 0, 0x100, 8},
      {0, 31, 1, 0x00, 4},   // a missing function of a multi-function device
      {0, 0, 1, 0x00, 4},    // functions of a single-function device
      {1, 0, 0, 0x00, 4},    // behind a bridge without bus numbers
      {2, 0, 0, 0x00, 2}, {255, 31, 7, 0xFFC, 4},
  };
  for (const Case& c : cases) {
    uint64_t ones = c.bytes == 8 ? ~0ull : (1ull << (8 * c.bytes)) - 1;
    EXPECT_EQ(b.machine.mmioRead(ecam(c.bus, c.dev, c.fn, c.off), c.bytes), ones)
        << c.bus << ":" << c.dev << "." << c.fn << " +" << c.off;
    b.machine.mmioWrite(ecam(c.bus, c.dev, c.fn, c.off), c.bytes, 0);   // goes nowhere
  }
}

TEST(PciConfig, Bus0FunctionsIdentifyThemselves) {
  Board b;
  struct Case {
    unsigned dev, fn;
    uint32_t id, classRev;
    uint8_t headerType;
  };
  const Case cases[] = {
      {0x00, 0, 0x09A28086, 0x06000004, 0x00},
      {0x1C, 0, 0xA1908086, 0x06040009, 0x01},
      {0x1F, 0, 0xA1C18086, 0x06010009, 0x80},
      {0x1F, 2, 0xA1A18086, 0x05800009, 0x00},
      {0x1F, 5, 0xA1A48086, 0x0C800009, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dev * 8 + c.fn);
    EXPECT_EQ(b.cfg(0, c.dev, c.fn, 0x00), c.id);
    EXPECT_EQ(b.cfg(0, c.dev, c.fn, 0x08), c.classRev);
    EXPECT_EQ(b.cfg(0, c.dev, c.fn, 0x0E, 1), c.headerType);
    EXPECT_EQ(b.cfg(0, c.dev, c.fn, 0x00, 2), c.id & 0xFFFF);   // narrower reads of the same dword
    EXPECT_EQ(b.cfg(0, c.dev, c.fn, 0x0B, 1), c.classRev >> 24);
  }
  b.setCfg(0, 0x1F, 0, 0x00, 4, 0x12345678);   // identity is read-only
  EXPECT_EQ(b.cfg(0, 0x1F, 0, 0x00), 0xA1C18086u);
}

TEST(PciConfig, MemoryBarsReadBackTheirSizeMask) {
  struct Case {
    uint32_t size, onesReadBack, assigned, assignedReadBack;
  };
  const Case cases[] = {
      {0x10, 0xFFFFFFF0, 0x12345678, 0x12345670},
      {0x1000, 0xFFFFF000, 0x12345678, 0x12345000},
      {0x100000, 0xFFF00000, 0x9FFFFFFF, 0x9FF00000},
      {0x04000000, 0xFC000000, 0x90000000, 0x90000000},
      {0x80000000, 0x80000000, 0xC0000000, 0x80000000},
  };
  ChipsetConfig config;
  for (unsigned i = 0; i < std::size(cases); ++i) {
    PciNodeConfig n;
    n.device = uint8_t(2 + i);
    n.identity = {0x1234, uint16_t(0x100 + i), 0x020000, 1};
    n.barSizes = {0, cases[i].size};   // BAR0 unimplemented, BAR1 sized
    config.moreOnBus0.push_back(n);
  }
  Board b({}, config);
  for (unsigned i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.size);
    unsigned dev = 2 + i;
    b.setCfg(0, dev, 0, 0x14, 4, 0xFFFFFFFF);
    EXPECT_EQ(b.cfg(0, dev, 0, 0x14), c.onesReadBack);
    EXPECT_EQ(0 - b.cfg(0, dev, 0, 0x14), c.size);
    b.setCfg(0, dev, 0, 0x14, 4, c.assigned);
    EXPECT_EQ(b.cfg(0, dev, 0, 0x14), c.assignedReadBack);
    b.setCfg(0, dev, 0, 0x10, 4, 0xFFFFFFFF);
    EXPECT_EQ(b.cfg(0, dev, 0, 0x10), 0u);   // unimplemented
    b.setCfg(0, dev, 0, 0x18, 4, 0xFFFFFFFF);
    EXPECT_EQ(b.cfg(0, dev, 0, 0x18), 0u);
  }
}

TEST(PciVideoPath, BringUpAssignsBusesWindowsAndTheFrameBuffer) {
  Board b;
  WalkResult r = bringUpVideoPath(b);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.bus, 2u);
  EXPECT_EQ(r.size, 0x01000000u);

  EXPECT_EQ(b.cfg(0, 0x1C, 0, 0x18), 0x00080100u);
  EXPECT_EQ(b.cfg(1, 0, 0, 0x18), 0x00080201u);
  for (unsigned bus : {0u, 1u}) {
    unsigned dev = bus == 0 ? 0x1C : 0;
    EXPECT_EQ(b.cfg(bus, dev, 0, 0x20), 0x94109000u);
    EXPECT_EQ(b.cfg(bus, dev, 0, 0x1C, 2), 0x00F0u);   // I/O base 0xF000 above limit 0x0FFF: closed
    EXPECT_EQ(b.cfg(bus, dev, 0, 0x24), 0x0000FFF0u);
    EXPECT_EQ(b.cfg(bus, dev, 0, 0x3E, 1), 0x08u);
    EXPECT_EQ(b.cfg(bus, dev, 0, 0x04, 1), 0x03u);
  }
  PciWindow w = b.chipset.rootPort.memoryWindow();
  EXPECT_EQ(w.base, 0x90000000u);
  EXPECT_EQ(w.limit, 0x941FFFFFu);
  EXPECT_FALSE(b.chipset.rootPort.prefetchableWindow().open());
  EXPECT_EQ(b.cfg(2, 0, 0, 0x10), kVram);
  EXPECT_EQ(b.cfg(2, 0, 0, 0x14), kVram + r.size);

  b.machine.mmioWrite(kVram, 4, 0x00FF0000);
  b.machine.mmioWrite(kVram + r.size - 4, 4, 0xCAFEF00D);
  EXPECT_EQ(b.machine.mmioRead(kVram, 4), 0x00FF0000u);
  EXPECT_EQ(b.machine.mmioRead(kVram + r.size - 4, 4), 0xCAFEF00Du);
  uint8_t* fb = b.machine.mapMemory(kVram, 800 * 600 * 4);
  ASSERT_NE(fb, nullptr);
  EXPECT_EQ(fb[2], 0xFF);
  EXPECT_EQ(b.machine.mapMemory(kVram + r.size - 16, 32), nullptr);   // runs past the BAR

  b.machine.mmioWrite(kVram + r.size + 0x10, 4, 0x5A5A5A5A);   // BAR1, directly above
  EXPECT_EQ(b.machine.mmioRead(kVram + r.size + 0x10, 4), 0x5A5A5A5Au);
  EXPECT_EQ(b.machine.mmioRead(kVram + r.size + 0x20000, 4), 0xFFFFFFFFu);   // inside the window, no BAR
  EXPECT_EQ(b.machine.mmioRead(0x94200000, 4), 0xFFFFFFFFu);                 // outside the window
}

TEST(PciVideoPath, VideoMemoryIsReachableOnlyWhenEveryBridgeForwardsIt) {
  struct Case {
    const char* name;
    unsigned bus, dev, off, bytes;
    uint32_t value;
    bool reachable;
  };
  const Case cases[] = {
      {"root port memory enable off", 0, 0x1C, 0x04, 1, 0x01, false},
      {"video bridge memory enable off", 1, 0, 0x04, 1, 0x01, false},
      {"device memory enable off", 2, 0, 0x04, 1, 0x01, false},
      {"root port window closed", 0, 0x1C, 0x20, 4, 0x0000FFF0, false},
      {"video bridge window elsewhere", 1, 0, 0x20, 4, 0x93009200, false},
      {"device BAR moved out of the windows", 2, 0, 0x10, 4, 0x98000000, false},
      {"root port window via the prefetchable range", 0, 0x1C, 0x24, 4, 0x94109000, true},
      {"bridge VGA routing off", 1, 0, 0x3E, 1, 0x00, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Board b;
    ASSERT_TRUE(bringUpVideoPath(b).found);
    b.machine.mmioWrite(kVram + 0x100, 4, 0x11223344);
    uint32_t saved = b.cfg(c.bus, c.dev, 0, c.off, c.bytes);
    if (c.off == 0x24) b.setCfg(0, 0x1C, 0, 0x20, 4, 0x0000FFF0);   // only the prefetchable window open
    b.setCfg(c.bus, c.dev, 0, c.off, c.bytes, c.value);

    b.machine.mmioWrite(kVram + 0x200, 4, 0x55667788);
    EXPECT_EQ(b.machine.mmioRead(kVram + 0x100, 4), c.reachable ? 0x11223344u : 0xFFFFFFFFu);
    EXPECT_EQ(b.machine.mapMemory(kVram, 4096) != nullptr, c.reachable);

    b.setCfg(c.bus, c.dev, 0, c.off, c.bytes, saved);
    if (c.off == 0x24) b.setCfg(0, 0x1C, 0, 0x20, 4, 0x94109000);
    EXPECT_EQ(b.machine.mmioRead(kVram + 0x100, 4), 0x11223344u);
    EXPECT_EQ(b.machine.mmioRead(kVram + 0x200, 4), c.reachable ? 0x55667788u : 0u);   // writes were lost
  }
}

TEST(PciVideoPath, ConfigurationCyclesFollowTheBusNumbers) {
  Board b;
  ASSERT_TRUE(bringUpVideoPath(b).found);
  EXPECT_EQ(b.cfg(2, 0, 0, 0x00), 0x20001A03u);
  EXPECT_EQ(b.cfg(3, 0, 0, 0x00), 0xFFFFFFFFu);   // inside the range, nothing there

  b.setCfg(0, 0x1C, 0, 0x1A, 1, 1);   // root port subordinate 1: bus 2 cut off
  EXPECT_EQ(b.cfg(1, 0, 0, 0x00), 0x11501A03u);
  EXPECT_EQ(b.cfg(2, 0, 0, 0x00), 0xFFFFFFFFu);

  b.setCfg(0, 0x1C, 0, 0x18, 4, 0x00090500);   // renumber: root port 5..9, bridge 7..7
  b.setCfg(5, 0, 0, 0x18, 4, 0x00070705);
  EXPECT_EQ(b.cfg(1, 0, 0, 0x00), 0xFFFFFFFFu);
  EXPECT_EQ(b.cfg(5, 0, 0, 0x00), 0x11501A03u);
  EXPECT_EQ(b.cfg(7, 0, 0, 0x00), 0x20001A03u);
  EXPECT_EQ(b.cfg(7, 0, 0, 0x10), kVram);
}

TEST(PciVideoPath, LegacyVgaRangesNeedVgaEnableOnEveryBridge) {
  struct Case {
    const char* name;
    unsigned bus, dev, off;
    uint8_t value;
    bool ports, memory;
  };
  const Case cases[] = {
      {"as brought up", 0, 0x1C, 0x3E, 0x08, true, true},
      {"root port VGA enable off", 0, 0x1C, 0x3E, 0x00, false, false},
      {"video bridge VGA enable off", 1, 0, 0x3E, 0x00, false, false},
      {"root port I/O enable off", 0, 0x1C, 0x04, 0x02, false, true},
      {"video bridge memory enable off", 1, 0, 0x04, 0x01, true, false},
      {"device decodes off", 2, 0, 0x04, 0x00, false, false},
      {"device I/O only", 2, 0, 0x04, 0x01, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Board b(kLegacyVga);
    EXPECT_EQ(b.machine.ioRead(0x3C5, 1), 0xFFu);   // before bring-up nothing answers
    ASSERT_TRUE(bringUpVideoPath(b).found);
    b.setCfg(c.bus, c.dev, 0, c.off, 1, c.value);

    for (uint16_t port : {uint16_t(0x3B4), uint16_t(0x3C4), uint16_t(0x3DA)}) {
      b.machine.ioWrite(port, 1, 0x2A);
      EXPECT_EQ(b.machine.ioRead(port, 1), c.ports ? 0x2Au : 0xFFu) << std::hex << port;
    }
    b.machine.mmioWrite(0xB8000, 2, 0x0741);
    EXPECT_EQ(b.machine.mmioRead(0xB8000, 2), c.memory ? 0x0741u : 0xFFFFu);
  }
}

}  // namespace
}  // namespace zub
