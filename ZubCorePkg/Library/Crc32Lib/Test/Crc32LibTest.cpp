// Tests of CalculateCrc32: the check value, NULL and zero length, and agreement with
// zlib's crc32 on random buffers, lengths and alignments.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <vector>

#include <Library/Crc32Lib.h>

namespace {

UINT32 Zlib(const UINT8* data, size_t length) {
  return static_cast<UINT32>(crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(length)));
}

TEST(Crc32Lib, CheckValue) {
  const char check[] = "123456789";
  EXPECT_EQ(CalculateCrc32(check, 9), 0xCBF43926u);
}

TEST(Crc32Lib, KnownValues) {
  const UINT8 zero = 0;
  EXPECT_EQ(CalculateCrc32(&zero, 1), 0xD202EF8Du);
  const char fox[] = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(CalculateCrc32(fox, strlen(fox)), 0x414FA339u);
  std::vector<UINT8> ones(32, 0xFF);
  EXPECT_EQ(CalculateCrc32(ones.data(), ones.size()), 0xFF6CAB0Bu);
}

TEST(Crc32Lib, NullAndZeroLength) {
  const UINT8 data[4] = {1, 2, 3, 4};
  EXPECT_EQ(CalculateCrc32(nullptr, 0), 0u);
  EXPECT_EQ(CalculateCrc32(nullptr, 16), 0u);
  EXPECT_EQ(CalculateCrc32(data, 0), 0u);
}

TEST(Crc32Lib, MatchesZlibOnRandomBuffers) {
  std::mt19937 rng(0x5EED);
  std::vector<UINT8> buffer(1 << 20);
  for (auto& b : buffer) b = static_cast<UINT8>(rng());
  // Every length up to 300 at every alignment 0-7, then random lengths and offsets.
  for (size_t length = 1; length <= 300; length++) {
    for (size_t offset = 0; offset < 8; offset++) {
      ASSERT_EQ(CalculateCrc32(buffer.data() + offset, length), Zlib(buffer.data() + offset, length))
          << "length " << length << " offset " << offset;
    }
  }
  for (int i = 0; i < 300; i++) {
    size_t offset = rng() % 4096;
    size_t length = 1 + rng() % (i % 10 != 0 ? 4096 : buffer.size() - offset - 1);
    ASSERT_EQ(CalculateCrc32(buffer.data() + offset, length), Zlib(buffer.data() + offset, length))
        << "length " << length << " offset " << offset;
  }
  EXPECT_EQ(CalculateCrc32(buffer.data(), buffer.size()), Zlib(buffer.data(), buffer.size()));
}

TEST(Crc32Lib, SingleBitChangesAreSeen) {
  std::vector<UINT8> data(64, 0x3C);
  const UINT32 base = CalculateCrc32(data.data(), data.size());
  for (size_t bit = 0; bit < data.size() * 8; bit++) {
    data[bit / 8] ^= static_cast<UINT8>(1u << (bit % 8));
    EXPECT_NE(CalculateCrc32(data.data(), data.size()), base) << bit;
    EXPECT_EQ(CalculateCrc32(data.data(), data.size()), Zlib(data.data(), data.size())) << bit;
    data[bit / 8] ^= static_cast<UINT8>(1u << (bit % 8));
  }
}

}  // namespace
