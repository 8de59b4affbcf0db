// Tests of BaseLib (strings, BCD, unaligned access) and BaseMemoryLib where a real fault
// could hide: bounds of the safe-string functions, overlap in CopyMem, CompareGuid.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>

namespace {

constexpr char kSentinel = 0x5A;

int Sign(INTN v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(BaseLib, StringLengths) {
  const char unterminated[4] = {'a', 'b', 'c', 'd'};
  struct {
    const char* string;
    UINTN max;
    UINTN want;
  } const cases[] = {
      {"", 5, 0}, {"abc", 0, 0}, {"abc", 1, 1}, {"abc", 2, 2}, {"abc", 3, 3},
      {"abc", 4, 3}, {"abc", 100, 3}, {nullptr, 5, 0}, {unterminated, 4, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AsciiStrnLenS(c.string, c.max), c.want) << (c.string ? "x" : "null") << " " << c.max;
  }
  EXPECT_EQ(AsciiStrLen(""), 0u);
  EXPECT_EQ(AsciiStrLen("hello"), 5u);
  EXPECT_EQ(AsciiStrLen(nullptr), 0u);

  EXPECT_EQ(StrLen(u""), 0u);
  EXPECT_EQ(StrLen(u"wide"), 4u);
  EXPECT_EQ(StrSize(u""), 2u);
  EXPECT_EQ(StrSize(u"wide"), 10u);
  EXPECT_EQ(StrSize(nullptr), 0u);
  EXPECT_EQ(StrnLenS(u"wide", 2), 2u);
  EXPECT_EQ(StrnLenS(u"wide", 9), 4u);
  EXPECT_EQ(StrnLenS(nullptr, 9), 0u);
}

TEST(BaseLib, StringCompares) {
  struct {
    const char* a;
    const char* b;
    int want;
  } const cases[] = {
      {"", "", 0},          {"abc", "abc", 0},  {"abc", "abd", -1}, {"abd", "abc", 1},
      {"ab", "abc", -1},    {"abc", "ab", 1},   {"\x80", "a", 1},   {"a", "\xFF", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(AsciiStrCmp(c.a, c.b)), c.want) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(AsciiStrnCmp(c.a, c.b, 100)), c.want) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(AsciiStrCmp("abc", "abd"), 'c' - 'd');
  EXPECT_EQ(AsciiStrnCmp("abcX", "abcY", 3), 0);
  EXPECT_LT(AsciiStrnCmp("abcX", "abcY", 4), 0);
  EXPECT_EQ(AsciiStrnCmp("abc", "xyz", 0), 0);
  EXPECT_EQ(AsciiStrnCmp("ab", "abc", 2), 0);
  EXPECT_LT(AsciiStrnCmp("ab", "abc", 3), 0);

  EXPECT_EQ(StrCmp(u"wide", u"wide"), 0);
  EXPECT_LT(StrCmp(u"wid", u"wide"), 0);
  EXPECT_GT(StrCmp(u"\uFFFF", u"a"), 0);
}

struct Dest {
  char bytes[16];
  Dest(const char* initial = "") {
    memset(bytes, kSentinel, sizeof bytes);
    memcpy(bytes, initial, strlen(initial) + 1);
  }
  std::string str() const { return bytes; }
  // Nothing at or after `from` was written.
  bool UntouchedFrom(size_t from) const {
    for (size_t i = from; i < sizeof bytes; i++)
      if (bytes[i] != kSentinel) return false;
    return true;
  }
};

TEST(BaseLib, AsciiStrCpyS) {
  Dest d;
  EXPECT_EQ(AsciiStrCpyS(d.bytes, 6, "hello"), RETURN_SUCCESS);  // exact fit
  EXPECT_EQ(d.str(), "hello");
  EXPECT_TRUE(d.UntouchedFrom(6));

  Dest small("old");
  EXPECT_EQ(AsciiStrCpyS(small.bytes, 5, "hello"), RETURN_BUFFER_TOO_SMALL);
  EXPECT_EQ(small.str(), "old");  // destination unchanged on error
  EXPECT_TRUE(small.UntouchedFrom(4));

  Dest e("old");
  EXPECT_EQ(AsciiStrCpyS(e.bytes, 0, "x"), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrCpyS(nullptr, 4, "x"), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrCpyS(e.bytes, 4, nullptr), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrCpyS(e.bytes, 1000001, "x"), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(e.str(), "old");

  EXPECT_EQ(AsciiStrCpyS(e.bytes, 1, ""), RETURN_SUCCESS);
  EXPECT_EQ(e.str(), "");

  char overlap[16] = "abcdef";
  EXPECT_EQ(AsciiStrCpyS(overlap + 2, 10, overlap), EFI_ACCESS_DENIED);
  EXPECT_EQ(AsciiStrCpyS(overlap, 10, overlap + 2), EFI_ACCESS_DENIED);
  EXPECT_STREQ(overlap, "abcdef");
}

TEST(BaseLib, AsciiStrnCpyS) {
  struct {
    UINTN dest_max;
    const char* source;
    UINTN length;
    RETURN_STATUS want;
    const char* result;
  } const cases[] = {
      {10, "hello", 3, RETURN_SUCCESS, "hel"},
      {10, "hello", 5, RETURN_SUCCESS, "hello"},
      {10, "hello", 9, RETURN_SUCCESS, "hello"},
      {4, "hello", 3, RETURN_SUCCESS, "hel"},      // cut by Length, fits
      {4, "hello", 4, RETURN_BUFFER_TOO_SMALL, "old"},
      {4, "hello", 10, RETURN_BUFFER_TOO_SMALL, "old"},
      {3, "hi", 10, RETURN_SUCCESS, "hi"},
      {2, "hi", 10, RETURN_BUFFER_TOO_SMALL, "old"},
      {4, "hello", 0, RETURN_SUCCESS, ""},
      {0, "hello", 3, RETURN_INVALID_PARAMETER, "old"},
      {10, "hello", 1000001, RETURN_INVALID_PARAMETER, "old"},
  };
  for (const auto& c : cases) {
    Dest d("old");
    EXPECT_EQ(AsciiStrnCpyS(d.bytes, c.dest_max, c.source, c.length), c.want)
        << c.dest_max << " " << c.source << " " << c.length;
    EXPECT_EQ(d.str(), c.result) << c.dest_max << " " << c.source << " " << c.length;
    EXPECT_TRUE(d.UntouchedFrom(std::max<UINTN>(c.dest_max, 4)));
  }
  Dest d;
  EXPECT_EQ(AsciiStrnCpyS(nullptr, 4, "x", 1), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrnCpyS(d.bytes, 4, nullptr, 1), RETURN_INVALID_PARAMETER);
  // Only Length characters of Source are read: an unterminated source is fine. (Static, so
  // that it cannot sit right before the destination: the overlap check covers Length + 1.)
  static const char unterminated[3] = {'x', 'y', 'z'};
  EXPECT_EQ(AsciiStrnCpyS(d.bytes, 10, unterminated, 3), RETURN_SUCCESS);
  EXPECT_EQ(d.str(), "xyz");
}

TEST(BaseLib, AsciiStrCatS) {
  struct {
    const char* initial;
    UINTN dest_max;
    const char* source;
    RETURN_STATUS want;
    const char* result;
  } const cases[] = {
      {"ab", 5, "cd", RETURN_SUCCESS, "abcd"},     // exact fit
      {"ab", 4, "cd", RETURN_BUFFER_TOO_SMALL, "ab"},
      {"", 3, "cd", RETURN_SUCCESS, "cd"},
      {"ab", 3, "", RETURN_SUCCESS, "ab"},
      {"abc", 3, "", EFI_BAD_BUFFER_SIZE, "abc"},  // no NUL within DestMax
      {"ab", 0, "cd", RETURN_INVALID_PARAMETER, "ab"},
      {"ab", 1000001, "cd", RETURN_INVALID_PARAMETER, "ab"},
  };
  for (const auto& c : cases) {
    Dest d(c.initial);
    EXPECT_EQ(AsciiStrCatS(d.bytes, c.dest_max, c.source), c.want) << c.initial << "+" << c.source;
    EXPECT_EQ(d.str(), c.result) << c.initial << "+" << c.source;
    EXPECT_TRUE(d.UntouchedFrom(std::max<size_t>(c.dest_max, strlen(c.initial) + 1)));
  }
  Dest d("ab");
  EXPECT_EQ(AsciiStrCatS(nullptr, 4, "x"), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrCatS(d.bytes, 4, nullptr), RETURN_INVALID_PARAMETER);
  EXPECT_EQ(AsciiStrCatS(d.bytes, 16, d.bytes), EFI_ACCESS_DENIED);
  EXPECT_EQ(d.str(), "ab");
}

TEST(BaseLib, Bcd) {
  for (UINT8 value = 0; value < 100; value++) {
    UINT8 bcd = DecimalToBcd8(value);
    EXPECT_EQ(bcd, ((value / 10) << 4) | (value % 10)) << int(value);
    EXPECT_EQ(BcdToDecimal8(bcd), value) << int(value);
  }
  EXPECT_EQ(DecimalToBcd8(59), 0x59);
  EXPECT_EQ(BcdToDecimal8(0x99), 99);
  EXPECT_EQ(BcdToDecimal8(0x00), 0);
}

TEST(BaseLib, Unaligned) {
  alignas(8) UINT8 bytes[16];
  for (int i = 0; i < 16; i++) bytes[i] = static_cast<UINT8>(0x10 + i);
  EXPECT_EQ(ReadUnaligned16(bytes + 1), 0x1211);
  EXPECT_EQ(ReadUnaligned32(bytes + 3), 0x16151413u);
  EXPECT_EQ(ReadUnaligned64(bytes + 5), 0x1C1B1A1918171615ULL);
  EXPECT_EQ(WriteUnaligned16(bytes + 1, 0xBEEF), 0xBEEF);
  EXPECT_EQ(bytes[0], 0x10);
  EXPECT_EQ(bytes[1], 0xEF);
  EXPECT_EQ(bytes[2], 0xBE);
  EXPECT_EQ(bytes[3], 0x13);
  EXPECT_EQ(WriteUnaligned32(bytes + 7, 0xCAFEBABE), 0xCAFEBABEu);
  EXPECT_EQ(bytes[6], 0x16);
  EXPECT_EQ(bytes[7], 0xBE);
  EXPECT_EQ(bytes[10], 0xCA);
  EXPECT_EQ(bytes[11], 0x1B);
}

TEST(BaseMemoryLib, CopyMemOverlapAndBounds) {
  // Every overlap offset in both directions, against memmove.
  for (int offset = -8; offset <= 8; offset++) {
    for (UINTN length : {0u, 1u, 3u, 8u, 17u}) {
      UINT8 mine[64], reference[64];
      for (int i = 0; i < 64; i++) mine[i] = reference[i] = static_cast<UINT8>(i * 7 + 1);
      UINT8* source = mine + 20;
      VOID* result = CopyMem(source + offset, source, length);
      EXPECT_EQ(result, source + offset);
      memmove(reference + 20 + offset, reference + 20, length);
      ASSERT_EQ(0, memcmp(mine, reference, sizeof mine)) << "offset " << offset << " length " << length;
    }
  }
  UINT8 a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(CopyMem(a, a, 8), a);
  EXPECT_EQ(CopyMem(nullptr, a, 0), nullptr);
}

TEST(BaseMemoryLib, SetAndZero) {
  UINT8 bytes[16];
  memset(bytes, kSentinel, sizeof bytes);
  EXPECT_EQ(SetMem(bytes + 2, 5, 0xAB), bytes + 2);
  for (int i = 0; i < 16; i++) EXPECT_EQ(bytes[i], (i >= 2 && i < 7) ? 0xAB : kSentinel) << i;
  EXPECT_EQ(ZeroMem(bytes + 3, 2), bytes + 3);
  EXPECT_EQ(bytes[2], 0xAB);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(bytes[4], 0);
  EXPECT_EQ(bytes[5], 0xAB);
  EXPECT_EQ(SetMem(bytes, 0, 1), bytes);
  EXPECT_EQ(bytes[0], kSentinel);

  // SetMem32 at an odd address, Length not a multiple of 4: whole words only.
  memset(bytes, kSentinel, sizeof bytes);
  EXPECT_EQ(SetMem32(bytes + 1, 10, 0x11223344u), bytes + 1);
  const UINT8 want[16] = {kSentinel, 0x44, 0x33, 0x22, 0x11, 0x44, 0x33, 0x22, 0x11,
                          kSentinel, kSentinel, kSentinel, kSentinel, kSentinel, kSentinel, kSentinel};
  EXPECT_EQ(0, memcmp(bytes, want, 16));
}

TEST(BaseMemoryLib, CompareMemAndZeroBuffer) {
  const UINT8 a[4] = {1, 2, 3, 0x80};
  const UINT8 b[4] = {1, 2, 3, 0x01};
  EXPECT_EQ(CompareMem(a, a, 4), 0);
  EXPECT_EQ(CompareMem(a, b, 3), 0);
  EXPECT_GT(CompareMem(a, b, 4), 0);  // bytes compare unsigned
  EXPECT_LT(CompareMem(b, a, 4), 0);
  EXPECT_EQ(CompareMem(a, b, 0), 0);

  UINT8 zeros[9] = {};
  EXPECT_TRUE(IsZeroBuffer(zeros, sizeof zeros));
  EXPECT_TRUE(IsZeroBuffer(zeros, 0));
  zeros[8] = 1;
  EXPECT_FALSE(IsZeroBuffer(zeros, sizeof zeros));
  EXPECT_TRUE(IsZeroBuffer(zeros, 8));
}

TEST(BaseMemoryLib, Guids) {
  const EFI_GUID base = {0x335984BD, 0xE805, 0x409A, {0xB8, 0xF8, 0xD2, 0x7E, 0xCE, 0x5F, 0xF7, 0xA6}};
  EFI_GUID same = base;
  EXPECT_TRUE(CompareGuid(&base, &same));
  EXPECT_TRUE(CompareGuid(&base, &base));
  // A difference in any one of the 16 bytes is seen.
  for (size_t i = 0; i < sizeof(EFI_GUID); i++) {
    EFI_GUID other = base;
    reinterpret_cast<UINT8*>(&other)[i] ^= 0x01;
    EXPECT_FALSE(CompareGuid(&base, &other)) << "byte " << i;
  }
  EXPECT_FALSE(CompareGuid(&base, nullptr));
  EXPECT_FALSE(CompareGuid(nullptr, &base));

  UINT8 raw[sizeof(EFI_GUID) + 2];
  memset(raw, kSentinel, sizeof raw);
  EFI_GUID* unaligned = reinterpret_cast<EFI_GUID*>(raw + 1);
  EXPECT_EQ(CopyGuid(unaligned, &base), unaligned);
  EXPECT_EQ(0, memcmp(raw + 1, &base, sizeof(EFI_GUID)));
  EXPECT_EQ(raw[0], static_cast<UINT8>(kSentinel));
  EXPECT_EQ(raw[sizeof raw - 1], static_cast<UINT8>(kSentinel));
  EXPECT_TRUE(CompareGuid(unaligned, &base));
}

}  // namespace
