// The device-disabling firmware's rules on the default board's topology: each state in,
// what it disables and how it moves TestIndex (or writes the core byte) out.
#include <gtest/gtest.h>

#include "Outside/BoardTopology.h"
#include "Outside/DeviceDisabling.h"

namespace zub {
namespace {

DiagnosisRecord record(uint8_t mode, int phase, int step, uint8_t subStepByte, uint8_t testIndex, uint8_t exceptionFlags = 0) {
  DiagnosisRecord r;
  r.mode = mode, r.phaseStep = uint8_t(phase << 4 | step), r.subStepByte = subStepByte, r.testIndex = testIndex;
  r.exceptionFlags = exceptionFlags;
  return r;
}

std::set<std::string> names(const DisabledDevices& d) {
  std::set<std::string> s;
  for (const auto& x : d.devices) s.insert(deviceName(x));
  return s;
}

std::set<std::string> all(const BoardTopology& t, DeviceClass cls, unsigned cpu, std::set<uint8_t> except = {}) {
  std::set<std::string> s;
  for (const Device& d : t.devices())
    if (d.cls == cls && (cpu == 0 || d.cpu == cpu) && !except.count(d.index)) s.insert(deviceName(d));
  return s;
}

std::set<std::string> operator+(std::set<std::string> a, const std::set<std::string>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(DeviceDisabling, EachStateOnTheDefaultBoard) {
  BoardTopology t;
  BoardTopology pmem;
  pmem.cpus[1].persistent = {15, 16};
  const auto pch = all(t, DeviceClass::PchPcie, 0) + all(t, DeviceClass::Usb, 0) + all(t, DeviceClass::Sata, 0) +
                   all(t, DeviceClass::Ssata, 0);
  struct Case {
    const char* name;
    DiagnosisRecord in;
    uint8_t request;
    std::set<std::string> disabled;
    uint8_t testIndex, subStepByte;   // after the rule
    const BoardTopology* topology = nullptr;
  } cases[] = {
      {"normal boot", record(0, 3, 3, 0x20, 9), 0x00, {}, 9, 0x20},
      {"invalid mode", record(3, 1, 1, 0, 0), 0x02, {}, 0, 0},
      {"preparing", record(2, 0, 0, 0, 0), 0x02, {}, 0, 0},
      {"minimum configuration", record(2, 0, 1, 0, 0), 0x02,
       std::set<std::string>{"cpu:2"} + all(t, DeviceClass::Core, 1, {1}) + all(t, DeviceClass::Dimm, 1, {1}) +
           all(t, DeviceClass::Iio, 1) + pch,
       1, 0x01},
      {"minimum boot leaves the record", record(1, 0, 0, 0x37, 9), 0x01,
       std::set<std::string>{"cpu:2"} + all(t, DeviceClass::Core, 1, {1}) + all(t, DeviceClass::Dimm, 1, {1}) +
           all(t, DeviceClass::Iio, 1) + pch,
       9, 0x37},
      {"P1S1 every PCH device", record(2, 1, 1, 0x01, 0), 0x02, pch, 0, 0x01},
      {"P1S2 every IIO port", record(2, 1, 2, 0, 0), 0x02, all(t, DeviceClass::Iio, 0), 0, 0},
      {"P1S3 every memory module", record(2, 1, 3, 0, 0), 0x02, all(t, DeviceClass::Dimm, 0), 0, 0},
      {"P2S1 USB", record(2, 2, 1, 0x20, 0), 0x02, all(t, DeviceClass::Usb, 0), 0, 0x20},
      {"P2S1 sSATA", record(2, 2, 1, 0x40, 0), 0x02, all(t, DeviceClass::Ssata, 0), 0, 0x40},
      {"P2S1 past the controllers", record(2, 2, 1, 0x50, 0), 0x02, {}, 0, 0x50},
      {"P2S2 CPU 2's IIO", record(2, 2, 2, 0x20, 0), 0x02, all(t, DeviceClass::Iio, 2), 0, 0x20},
      {"P2S3 CPU 1's memory", record(2, 2, 3, 0x10, 0), 0x02, all(t, DeviceClass::Dimm, 1), 0, 0x10},
      {"P2S4 from CPU 8: none", record(2, 2, 4, 0x80, 0), 0x02, {}, 0, 0x80},
      {"P2S4 from CPU 2", record(2, 2, 4, 0x20, 0), 0x02, {"cpu:2"}, 0, 0x20},
      {"P3S1 root port 1", record(2, 3, 1, 0x10, 1), 0x02, {"pch-pcie:1"}, 1, 0x10},
      {"P3S1 root port 2 is empty: 3", record(2, 3, 1, 0x10, 2), 0x02, {"pch-pcie:3"}, 3, 0x10},
      {"P3S1 past the last root port", record(2, 3, 1, 0x10, 9), 0x02, {}, 20, 0x10},
      {"P3S1 USB 8 empty: 11", record(2, 3, 1, 0x20, 8), 0x02, {"usb:11"}, 11, 0x20},
      {"P3S1 beyond the limit", record(2, 3, 1, 0x20, 17), 0x02, {}, 17, 0x20},
      {"P3S2 index 1 is no port: 1A", record(2, 3, 2, 0x20, 1), 0x02, {"iio:2:1A"}, 2, 0x20},
      {"P3S2 2C empty: 3A", record(2, 3, 2, 0x10, 8), 0x02, {"iio:1:3A"}, 10, 0x10},
      {"P3S2 after 5B: the limit", record(2, 3, 2, 0x10, 20), 0x02, {}, 21, 0x10},
      {"P3S3 0xFF: H1", record(2, 3, 3, 0x20, 0xFF), 0x02, {"dimm:2:H1"}, 16, 0x20},
      {"P3S3 0xFE without persistent memory: H1", record(2, 3, 3, 0x20, 0xFE), 0x02, {"dimm:2:H1"}, 16, 0x20},
      {"P3S3 B0", record(2, 3, 3, 0x10, 3), 0x02, {"dimm:1:B0"}, 3, 0x10},
      {"P3S3 at 0", record(2, 3, 3, 0x10, 0), 0x02, {}, 0, 0x10},
      {"P3S3 0xFE: the persistent memory", record(2, 3, 3, 0x20, 0xFE, 0x08), 0x02, {"dimm:2:H0", "dimm:2:H1"}, 0xFE,
       0x20, &pmem},
      {"P3S3 0xFF with persistent memory: H1", record(2, 3, 3, 0x20, 0xFF, 0x08), 0x02, {"dimm:2:H1"}, 16, 0x20, &pmem},
      {"P3S4 0xFF: the last core", record(2, 3, 4, 0x20, 0xFF), 0x02, {"core:2:16"}, 16, 0x20},
      {"P3S4 core 5", record(2, 3, 4, 0x10, 5), 0x02, {"core:1:5"}, 5, 0x10},
      {"P3S4 second pass on a CPU the board lacks", record(2, 3, 4, 0x51, 0xFF), 0x02, {}, 1, 0x51},
      {"P4 without isolation", record(2, 4, 3, 0x20, 6), 0x02, {}, 6, 0x20},
      {"P4 memory module", record(2, 4, 3, 0x20, 6), 0x06, {"dimm:2:C1"}, 6, 0x20},
      {"P4 persistent memory", record(2, 4, 3, 0x20, 0xFE, 0x08), 0x06, {"dimm:2:H0", "dimm:2:H1"}, 0xFE, 0x20, &pmem},
      {"P4 core", record(2, 4, 4, 0x20, 9), 0x06, {"core:2:9"}, 9, 0x20},
      {"P4 the CPU", record(2, 4, 4, 0x20, 0), 0x06, {"cpu:2"}, 0, 0x20},
      {"P4 IIO port", record(2, 4, 2, 0x10, 7), 0x06, {"iio:1:2B"}, 7, 0x10},
      {"P4 SATA port", record(2, 4, 1, 0x30, 4), 0x06, {"sata:4"}, 4, 0x30},
      {"P9 passes", record(2, 9, 9, 0x10, 1), 0x06, {}, 1, 0x10},
  };
  for (const auto& c : cases) {
    DiagnosisRecord r = c.in;
    DisabledDevices d = disableDevices(r, c.topology ? *c.topology : t, c.request);
    EXPECT_EQ(names(d), c.disabled) << c.name;
    EXPECT_EQ(r.testIndex, c.testIndex) << c.name;
    EXPECT_EQ(r.subStepByte, c.subStepByte) << c.name;
    EXPECT_FALSE(d.rule.empty()) << c.name;
    DiagnosisRecord unchanged = r;
    unchanged.testIndex = c.in.testIndex, unchanged.subStepByte = c.in.subStepByte;
    EXPECT_EQ(unchanged, c.in) << c.name << ": only TestIndex and the core byte may move";
  }
}

TEST(DeviceDisabling, ADisabledCpuTakesItsDevicesWithIt) {
  DisabledDevices d;
  d.devices = {{DeviceClass::Cpu, 2, 0}, {DeviceClass::Usb, 0, 3}};
  EXPECT_FALSE(d.enabled({DeviceClass::Core, 2, 5}));
  EXPECT_FALSE(d.enabled({DeviceClass::Dimm, 2, 1}));
  EXPECT_FALSE(d.enabled({DeviceClass::Iio, 2, 7}));
  EXPECT_FALSE(d.enabled({DeviceClass::Usb, 0, 3}));
  EXPECT_TRUE(d.enabled({DeviceClass::Core, 1, 5}));
  EXPECT_TRUE(d.enabled({DeviceClass::Usb, 0, 4}));
}

TEST(BoardTopology, DeviceNamesRoundTripAndBadNamesSayWhy) {
  BoardTopology t;
  for (const Device& d : t.devices()) {
    auto back = parseDevice(deviceName(d));
    ASSERT_TRUE(back) << deviceName(d);
    EXPECT_EQ(*back, d) << deviceName(d);
    EXPECT_TRUE(t.has(d)) << deviceName(d);
  }
  EXPECT_EQ(t.devices().size(), 2u + 2 * 16 + 2 * 16 + 2 * 7 + 4 + 8 + 8 + 6);
  struct Case {
    const char* text;
    const char* says;
  } bad[] = {{"core:1", "core:N:C"}, {"dimm:1:I0", "A0..H1"}, {"dimm:1:A2", "A0..H1"}, {"iio:1:6A", "1A..5D"},
             {"iio:1:1E", "1A..5D"}, {"cpu:0", "CPU number"}, {"cpu:9", "CPU number"}, {"usb:0", "usb:N"},
             {"usb:x", "usb:N"}, {"usb:3:1", "usb:N"}, {"gpu:1", "expected cpu:N"}, {"", "expected cpu:N"},
             {"core:1:-1", "core:N:C"}, {"sata:256", "sata:N"}};
  for (const auto& c : bad) {
    std::string why;
    EXPECT_FALSE(parseDevice(c.text, &why)) << c.text;
    EXPECT_NE(why.find(c.says), std::string::npos) << c.text << ": " << why;
  }
  struct Missing {
    const char* text;
  } missing[] = {{"cpu:3"}, {"core:1:17"}, {"iio:1:2C"}, {"pch-pcie:2"}, {"usb:2"}, {"ssata:7"}, {"dimm:3:A0"}};
  for (const auto& m : missing) EXPECT_FALSE(t.has(*parseDevice(m.text))) << m.text;
  EXPECT_EQ(dimmName(1), "A0");
  EXPECT_EQ(dimmName(16), "H1");
  EXPECT_EQ(iioPortName(2), "1A");
  EXPECT_EQ(iioPortName(21), "5D");
  EXPECT_EQ(iioPortName(1), "?");
  EXPECT_EQ(dimmName(0xFF), "?");
}

}  // namespace
}  // namespace zub
