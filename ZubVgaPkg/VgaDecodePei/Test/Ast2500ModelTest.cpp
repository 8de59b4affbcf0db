// The AST2500 model's own register rules, through the VGA ports once the path routes them.
#include <gtest/gtest.h>

#include "Devices/Ast2500.h"

namespace zub {
namespace {

PciIdentity astIdentity() { return {0x1A03, 0x2000, 0x030000, 0x41}; }

void crtc(Ast2500& v, uint8_t i, uint8_t value) {
  v.ioWrite(0x3D4, 1, i);
  v.ioWrite(0x3D5, 1, value);
}

TEST(Ast2500Model, ExtendedCrtcRegistersNeedTheUnlockKey) {
  Ast2500 v(astIdentity(), 16u << 20, 0x20000);
  crtc(v, 0xA3, 0x08);
  EXPECT_EQ(v.crtc(0xA3), 0x00);
  crtc(v, 0x80, 0xA8);
  crtc(v, 0xA3, 0x08);
  EXPECT_EQ(v.crtc(0xA3), 0x08);
  crtc(v, 0x80, 0x00);
  crtc(v, 0xA3, 0x00);
  EXPECT_EQ(v.crtc(0xA3), 0x08);
}

TEST(Ast2500Model, Cr11Bit7ProtectsCr00ToCr07) {
  Ast2500 v(astIdentity(), 16u << 20, 0x20000);
  crtc(v, 0x11, 0x80);
  crtc(v, 0x00, 0x5F);
  crtc(v, 0x07, 0xFF);
  EXPECT_EQ(v.crtc(0x00), 0x00);
  EXPECT_EQ(v.crtc(0x07), 0x10) << "only the line-compare bit stays writable";
  crtc(v, 0x11, 0x00);
  crtc(v, 0x00, 0x5F);
  EXPECT_EQ(v.crtc(0x00), 0x5F);
}

TEST(Ast2500Model, AttributeFlipFlopAndDacAutoIncrement) {
  Ast2500 v(astIdentity(), 16u << 20, 0x20000);
  v.ioRead(0x3DA, 1);
  v.ioWrite(0x3C0, 1, 0x03);
  v.ioWrite(0x3C0, 1, 0x2C);
  v.ioWrite(0x3C0, 1, 0x04);   // an index again
  v.ioRead(0x3BA, 1);          // reset: the next write is an index
  v.ioWrite(0x3C0, 1, 0x05);
  v.ioWrite(0x3C0, 1, 0x11);
  EXPECT_EQ(v.attribute(0x03), 0x2C);
  EXPECT_EQ(v.attribute(0x04), 0x00);
  EXPECT_EQ(v.attribute(0x05), 0x11);
  v.ioWrite(0x3C8, 1, 7);
  for (uint8_t c : {1, 2, 3, 4, 5, 6}) v.ioWrite(0x3C9, 1, c);
  EXPECT_EQ(v.dac(7), (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(v.dac(8), (std::array<uint8_t, 3>{4, 5, 6}));
}

TEST(Ast2500Model, Bar0IsSizedByTheBoardsVideoMemory) {
  for (uint32_t mb : {16u, 64u}) {
    Ast2500 v(astIdentity(), mb << 20, 0x20000);
    v.configWrite(0x10, 4, 0xFFFFFFFF);
    EXPECT_EQ(v.configRead(0x10, 4), 0u - (mb << 20));
    v.configWrite(0x14, 4, 0xFFFFFFFF);
    EXPECT_EQ(v.configRead(0x14, 4), 0xFFFE0000u);
  }
}

}  // namespace
}  // namespace zub
