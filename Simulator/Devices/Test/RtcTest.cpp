// The RTC against the C library's calendar: every mode, the update cycle on virtual time,
// SET, register D.
#include <gtest/gtest.h>

#include <ctime>

#include <Devices/Cmos.h>

namespace zub {
namespace {

constexpr int64_t kSecond = 1'000'000'000;

struct Mode {
  const char* name;
  bool binary, hour24;
};
constexpr Mode kModes[] = {{"Bcd24", false, true}, {"Bcd12", false, false}, {"Binary24", true, true}, {"Binary12", true, false}};

unsigned fromField(uint8_t v, bool binary) { return binary ? v : (v >> 4) * 10 + (v & 0xF); }
uint8_t toField(unsigned v, bool binary) { return uint8_t(binary ? v : (v / 10) << 4 | v % 10); }

// The board with a CMOS, accessed through its ports without charging virtual time.
struct Board {
  explicit Board(const CmosConfig& c) : cmos(machine, c) {}
  uint8_t read(uint8_t index) {
    cmos.ioWrite(Cmos::kIndexPort, 1, index);
    return uint8_t(cmos.ioRead(Cmos::kDataPort, 1));
  }
  void write(uint8_t index, uint8_t value) {
    cmos.ioWrite(Cmos::kIndexPort, 1, index);
    cmos.ioWrite(Cmos::kDataPort, 1, value);
  }
  // The clock registers read back as calendar fields, in the given mode.
  std::tm readTime(const Mode& m) {
    std::tm tm{};
    tm.tm_sec = int(fromField(read(rtc::kSeconds), m.binary));
    tm.tm_min = int(fromField(read(rtc::kMinutes), m.binary));
    uint8_t h = read(rtc::kHours);
    if (m.hour24) {
      tm.tm_hour = int(fromField(h, m.binary));
    } else {
      unsigned h12 = fromField(h & 0x7F, m.binary);
      EXPECT_TRUE(h12 >= 1 && h12 <= 12) << "12-hour value " << h12;
      tm.tm_hour = int(h12 % 12 + (h & 0x80 ? 12 : 0));
    }
    tm.tm_wday = int(fromField(read(rtc::kDayOfWeek), m.binary)) - 1;
    tm.tm_mday = int(fromField(read(rtc::kDayOfMonth), m.binary));
    tm.tm_mon = int(fromField(read(rtc::kMonth), m.binary)) - 1;
    tm.tm_year = int(fromField(read(rtc::kCentury), m.binary) * 100 + fromField(read(rtc::kYear), m.binary)) - 1900;
    return tm;
  }
  void writeTime(const Mode& m, const std::tm& tm) {
    write(rtc::kSeconds, toField(unsigned(tm.tm_sec), m.binary));
    write(rtc::kMinutes, toField(unsigned(tm.tm_min), m.binary));
    uint8_t hours = m.hour24 ? toField(unsigned(tm.tm_hour), m.binary)
                             : uint8_t(toField(unsigned(tm.tm_hour % 12 ? tm.tm_hour % 12 : 12), m.binary) |
                                       (tm.tm_hour >= 12 ? 0x80 : 0));
    write(rtc::kHours, hours);
    write(rtc::kDayOfWeek, toField(unsigned(tm.tm_wday + 1), m.binary));
    write(rtc::kDayOfMonth, toField(unsigned(tm.tm_mday), m.binary));
    write(rtc::kMonth, toField(unsigned(tm.tm_mon + 1), m.binary));
    write(rtc::kYear, toField(unsigned((tm.tm_year + 1900) % 100), m.binary));
    write(rtc::kCentury, toField(unsigned((tm.tm_year + 1900) / 100), m.binary));
  }
  Machine machine;
  Cmos cmos;
};

CmosConfig configFor(const Mode& m, int64_t start) {
  CmosConfig c;
  c.startTime = start;
  c.binary = m.binary;
  c.hour24 = m.hour24;
  return c;
}

std::tm utc(int64_t seconds) {
  time_t t = time_t(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  return tm;
}

void expectSameTime(const std::tm& got, int64_t expected) {
  std::tm want = utc(expected);
  std::tm g = got;
  EXPECT_EQ(timegm(&g), expected) << "read " << got.tm_year + 1900 << "-" << got.tm_mon + 1 << "-" << got.tm_mday
                                  << " " << got.tm_hour << ":" << got.tm_min << ":" << got.tm_sec;
  EXPECT_EQ(got.tm_wday, want.tm_wday) << "day of week at " << expected;
}

class RtcModes : public testing::TestWithParam<Mode> {};

// Calendar edges: epoch, the 12-hour pivots (midnight, noon, 1 AM/PM), leap days,
// century and millennium roll-overs, the 2^31 second.
TEST_P(RtcModes, RegistersMatchTheCalendarAtEdges) {
  const int64_t times[] = {0,          946684799,  946684800,  951782400,  1704067200, 1704067200 + 3600,
                           1704110400, 1704110399, 1704114000, 1709164800, 2147483647, 2147483648,
                           4102444799, 4102444800, 4107542400 - 86400};
  for (int64_t t : times) {
    SCOPED_TRACE(t);
    Board b(configFor(GetParam(), t));
    expectSameTime(b.readTime(GetParam()), t);
  }
}

// Time follows virtual time: a walk of uneven steps over about 11 years.
TEST_P(RtcModes, TimeAdvancesWithVirtualTime) {
  const int64_t start = 1'577'836'700;   // 2019-12-31 23:58:20
  Board b(configFor(GetParam(), start));
  const uint64_t stepNs = 340'123'456'789'123ull / 1000;   // about 3.9 days
  for (uint64_t i = 0; i < 1000; ++i) {
    uint64_t ns = i * stepNs;
    b.machine.clock.set(ns);
    SCOPED_TRACE(ns);
    expectSameTime(b.readTime(GetParam()), start + int64_t(ns / kSecond));
    if (HasFailure()) return;
  }
}

TEST_P(RtcModes, TimeWrittenUnderSetIsTakenOverWhenSetClears) {
  const Mode m = GetParam();
  Board b(configFor(m, 1'704'067'200));
  uint8_t modeBits = uint8_t((m.binary ? rtc::kBBinary : 0) | (m.hour24 ? rtc::kB24Hour : 0));
  EXPECT_EQ(b.read(rtc::kRegisterB), modeBits);

  b.machine.clock.set(5 * kSecond);
  b.write(rtc::kRegisterB, modeBits | rtc::kBSet);
  b.machine.clock.set(50 * kSecond);   // halted: no updates
  expectSameTime(b.readTime(m), 1'704'067'205);

  const int64_t target = 1'941'023'130;   // 2031-07-04 13:45:30 UTC
  b.writeTime(m, utc(target));
  expectSameTime(b.readTime(m), target);   // the written values read back while SET

  b.write(rtc::kRegisterB, modeBits);
  b.machine.clock.set(50 * kSecond + kSecond / 2);
  expectSameTime(b.readTime(m), target);
  b.machine.clock.set(51 * kSecond);
  expectSameTime(b.readTime(m), target + 1);   // first update one second after SET cleared
  EXPECT_EQ(b.cmos.rtc().wallTimeNs(), (target + 1) * kSecond);
}

INSTANTIATE_TEST_SUITE_P(AllModes, RtcModes, testing::ValuesIn(kModes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Rtc, UpdateInProgressDuringTheLast244usOfEachSecond) {
  Board b(CmosConfig{});
  const int64_t start = CmosConfig{}.startTime;
  struct Case {
    uint64_t ns;
    bool uip;
    int64_t second;
  };
  const Case cases[] = {
      {0, false, 0},
      {kSecond - 244'001, false, 0},
      {kSecond - 244'000, true, 0},
      {kSecond - 1, true, 0},
      {kSecond, false, 1},
      {7 * kSecond + 999'800'000, true, 7},
      {7 * kSecond + 999'700'000, false, 7},
  };
  for (const Case& c : cases) {
    b.machine.clock.set(c.ns);
    SCOPED_TRACE(c.ns);
    uint8_t a = b.read(rtc::kRegisterA);
    EXPECT_EQ(bool(a & rtc::kAUip), c.uip);
    EXPECT_EQ(a & 0x7F, 0x26);   // divider and rate as at reset
    expectSameTime(b.readTime(kModes[0]), start + c.second);
  }
  // Under SET there is no update, so no update in progress.
  b.machine.clock.set(kSecond - 1000);
  b.write(rtc::kRegisterB, rtc::kB24Hour | rtc::kBSet);
  EXPECT_FALSE(b.read(rtc::kRegisterA) & rtc::kAUip);
}

TEST(Rtc, TimeWrittenWhileRunningTakesEffectAndKeepsRunning) {
  Board b(CmosConfig{});   // 2024-01-01 00:00:00, BCD, 24 h
  b.machine.clock.set(kSecond / 4);
  b.write(rtc::kMinutes, 0x42);
  b.write(rtc::kHours, 0x17);
  expectSameTime(b.readTime(kModes[0]), 1'704'067'200 + 17 * 3600 + 42 * 60);
  b.machine.clock.set(kSecond + kSecond / 4);   // the divider phase is unchanged
  expectSameTime(b.readTime(kModes[0]), 1'704'067'200 + 17 * 3600 + 42 * 60 + 1);
}

TEST(Rtc, UpdateEndedFlagInRegisterC) {
  Board b(CmosConfig{});
  EXPECT_EQ(b.read(rtc::kRegisterC), 0);
  b.machine.clock.set(kSecond);
  EXPECT_EQ(b.read(rtc::kRegisterC), rtc::kCUf);
  EXPECT_EQ(b.read(rtc::kRegisterC), 0);   // cleared by the read
  b.write(rtc::kRegisterB, rtc::kB24Hour | rtc::kBUie);
  b.machine.clock.set(2 * kSecond);
  EXPECT_EQ(b.read(rtc::kRegisterC), rtc::kCUf | rtc::kCIrqf);
  b.write(rtc::kRegisterB, rtc::kB24Hour | rtc::kBUie | rtc::kBSet);
  EXPECT_EQ(b.read(rtc::kRegisterB) & rtc::kBUie, 0);   // SET clears UIE
}

TEST(Rtc, RegisterDReportsTheBoardsBatteryAndIsReadOnly) {
  for (uint8_t d : {uint8_t(0x80), uint8_t(0x00)}) {
    CmosConfig c;
    c.registerD = d;
    Board b(c);
    EXPECT_EQ(b.read(rtc::kRegisterD), d);
    b.write(rtc::kRegisterD, uint8_t(~d));
    EXPECT_EQ(b.read(rtc::kRegisterD), d);
  }
}

TEST(Rtc, WrittenDayOfWeekRunsOnFromTheWrittenValue) {
  Board b(CmosConfig{});   // a Monday (register value 2)
  EXPECT_EQ(b.read(rtc::kDayOfWeek), 2);
  b.write(rtc::kRegisterB, rtc::kB24Hour | rtc::kBSet);
  b.write(rtc::kDayOfWeek, 7);
  b.write(rtc::kRegisterB, rtc::kB24Hour);
  b.machine.clock.set(uint64_t(86400) * kSecond);
  EXPECT_EQ(b.read(rtc::kDayOfWeek), 1);   // 7 wraps to 1 a day later
}

TEST(Rtc, AlarmRegistersAreStorage) {
  Board b(CmosConfig{});
  for (uint8_t i : {0x01, 0x03, 0x05}) b.write(i, uint8_t(0xC0 | i));
  b.machine.clock.set(90 * kSecond);
  for (uint8_t i : {0x01, 0x03, 0x05}) EXPECT_EQ(b.read(i), 0xC0 | i);
}

}  // namespace
}  // namespace zub
