// Reset control at 0xCF9 and the POST ports.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include <Devices/PostPorts.h>
#include <Devices/ResetControl.h>

namespace zub {
namespace {

TEST(ResetControl, ResetCpuBitEndsTheBootWithItsKind) {
  struct Case {
    uint8_t value;
    std::optional<BootEndKind> kind;
  };
  const Case cases[] = {
      {0x00, std::nullopt}, {0x02, std::nullopt}, {0x08, std::nullopt}, {0x0A, std::nullopt},
      {0x04, BootEndKind::WarmReset}, {0x06, BootEndKind::ColdReset}, {0x0C, BootEndKind::ColdReset},
      {0x0E, BootEndKind::ColdReset}, {0xF4, BootEndKind::WarmReset},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.value));
    Machine machine;
    ResetControl reset(machine);
    std::optional<BootEnd> end;
    try {
      machine.ioWrite(0xCF9, 1, c.value);
    } catch (const BootEnd& e) {
      end = e;
    }
    ASSERT_EQ(end.has_value(), c.kind.has_value());
    if (end) {
      EXPECT_EQ(end->kind, *c.kind);
      char want[16];
      std::snprintf(want, sizeof want, "0x%02X", c.value);
      EXPECT_NE(end->detail.find(want), std::string::npos) << end->detail;
    }
    EXPECT_EQ(machine.ioRead(0xCF9, 1), c.value & ~0x04u);   // bit 2 self-clears
  }
}

TEST(PostPorts, LatchAndReportEveryByte) {
  Machine machine;
  PostPorts post(machine);
  std::vector<std::pair<uint16_t, uint8_t>> seen;
  post.setObserver([&](uint16_t port, uint8_t value) { seen.emplace_back(port, value); });

  machine.ioWrite(0x84, 1, 0x37);
  machine.ioWrite(0x84, 1, 0x37);   // a repeat is still a write
  machine.ioWrite(0x85, 1, 0x01);
  machine.ioWrite(0x80, 1, 0xA5);
  machine.ioWrite(0x84, 2, 0x6463);  // 0x84 and 0x85 at once
  machine.ioWrite(0x81, 1, 0x11);    // not a POST port: unclaimed

  using P = std::pair<uint16_t, uint8_t>;
  EXPECT_EQ(seen, (std::vector<P>{{0x84, 0x37}, {0x84, 0x37}, {0x85, 0x01}, {0x80, 0xA5}, {0x84, 0x63}, {0x85, 0x64}}));
  EXPECT_EQ(post.last(0x84), 0x63);
  EXPECT_EQ(machine.ioRead(0x85, 1), 0x64u);
  EXPECT_EQ(machine.ioRead(0x80, 1), 0xA5u);
  EXPECT_EQ(machine.ioRead(0x81, 1), 0xFFu);
}

}  // namespace
}  // namespace zub
