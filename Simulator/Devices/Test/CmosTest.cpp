// The CMOS banks through the machine's ports, and its saved state across boots.
#include <gtest/gtest.h>

#include <Devices/Cmos.h>

namespace zub {
namespace {

constexpr int64_t kSecond = 1'000'000'000;

struct Board {
  explicit Board(const CmosConfig& c = {}) : cmos(machine, c) {}
  uint8_t in(uint16_t port) { return uint8_t(machine.ioRead(port, 1)); }
  void out(uint16_t port, uint8_t value) { machine.ioWrite(port, 1, value); }
  Machine machine;
  Cmos cmos;
};

TEST(Cmos, NmiBitIsKeptApartFromTheIndex) {
  Board b;
  b.out(0x70, 0x80 | 0x40);
  b.out(0x71, 0x5A);
  EXPECT_TRUE(b.cmos.nmiDisabled());
  EXPECT_EQ(b.in(0x70), 0xC0);         // the last value written
  EXPECT_EQ(b.cmos.byte(0x40), 0x5A);  // bit 7 did not select byte 0xC0
  EXPECT_EQ(b.cmos.byte(0xC0), 0x00);

  b.out(0x70, 0x40);
  EXPECT_FALSE(b.cmos.nmiDisabled());
  EXPECT_EQ(b.in(0x71), 0x5A);
}

TEST(Cmos, UpperBankIsTheSecond128Bytes) {
  Board b;
  b.out(0x72, 0x54);
  b.out(0x73, 0x41);
  EXPECT_EQ(b.cmos.byte(0xD4), 0x41);
  EXPECT_EQ(b.cmos.byte(0x54), 0x00);   // the standard bank's 0x54 is another byte
  b.out(0x72, 0xD4);                    // bit 7 of the upper index is ignored
  EXPECT_EQ(b.in(0x73), 0x41);
  EXPECT_EQ(b.in(0x72), 0xD4);

  b.out(0x70, 0x54);
  b.out(0x71, 0x17);
  b.out(0x72, 0x54);
  EXPECT_EQ(b.in(0x73), 0x41);
}

TEST(Cmos, ConfiguredBytesFillRamButNotTheClock) {
  CmosConfig c;
  c.bytes = {{0x0E, 0x11}, {0x73, 0x01}, {0x7F, 0x7F}, {0x80, 0x80}, {0xD4, 0x42}, {0xFF, 0xEE},
             {rtc::kSeconds, 0x59}, {rtc::kRegisterB, 0x86}};
  Board b(c);
  for (auto [index, value] : c.bytes) {
    if (Rtc::isClockRegister(index)) continue;
    EXPECT_EQ(b.cmos.byte(index), value) << int(index);
  }
  EXPECT_EQ(b.cmos.byte(rtc::kSeconds), 0x00);
  EXPECT_EQ(b.cmos.byte(rtc::kRegisterB), rtc::kB24Hour);
}

TEST(Cmos, WordAccessCoversIndexAndDataPorts) {
  Board b;
  b.machine.ioWrite(0x70, 2, 0xA5 << 8 | 0x20);   // index 0x20, data 0xA5
  EXPECT_EQ(b.cmos.byte(0x20), 0xA5);
  EXPECT_EQ(b.machine.ioRead(0x70, 2), 0xA520u);
}

TEST(Cmos, SavedStateWinsAndTheClockContinuesFromIt) {
  CmosConfig first;
  first.startTime = 1'900'000'000;
  first.binary = true;
  first.bytes = {{0x73, 0x11}, {0xD4, 0x40}};
  std::vector<uint8_t> state;
  {
    Board b(first);
    b.out(0x70, 0x75);
    b.out(0x71, 0x24);
    b.machine.clock.set(90 * kSecond + kSecond / 2);
    state = b.cmos.save();
  }
  ASSERT_EQ(state.size(), Cmos::kStateSize);

  CmosConfig second;   // a board file with another time and mode; the state wins
  second.startTime = 1'000'000'000;
  second.registerD = 0x00;
  second.bytes = {{0x73, 0x99}};
  Board b(second);
  b.machine.clock.set(7 * kSecond);   // virtual time before the load does not count
  ASSERT_TRUE(b.cmos.load(state));
  b.machine.clock.set(17 * kSecond);
  EXPECT_EQ(b.cmos.rtc().wallTimeNs(), 1'900'000'000 * kSecond + 100 * kSecond + kSecond / 2);
  EXPECT_EQ(b.cmos.byte(0x73), 0x11);
  EXPECT_EQ(b.cmos.byte(0x75), 0x24);
  EXPECT_EQ(b.cmos.byte(0xD4), 0x40);
  EXPECT_EQ(b.cmos.byte(rtc::kRegisterB), rtc::kBBinary | rtc::kB24Hour);
  EXPECT_EQ(b.cmos.byte(rtc::kSeconds), (1'900'000'000 + 100) % 60);   // binary, as saved
  EXPECT_EQ(b.cmos.byte(rtc::kRegisterD), 0x00);   // the battery is the board's

  EXPECT_FALSE(b.cmos.load(std::vector<uint8_t>(100)));
  EXPECT_EQ(b.cmos.byte(0x73), 0x11);
}

}  // namespace
}  // namespace zub
