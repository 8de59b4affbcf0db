// Tests of PrintLib (AsciiSPrint, UnicodeSPrintAsciiFormat): every conversion and flag,
// %r of every status text, %g, truncation at BufferSize, return values, 64-bit 'l'.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <Library/PrintLib.h>

namespace {

constexpr char kSentinel = 0x5A;
constexpr CHAR16 kWideSentinel = 0xA5A5;

std::string Widen(const std::u16string& s, bool* latin1) {
  std::string out;
  for (char16_t c : s) {
    if (c > 0xFF) *latin1 = false;
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

// Formats with both the ASCII and the UCS-2 function into large buffers, checks the
// return values, the NUL and that nothing is written after it, and that both agree.
template <typename... A>
std::string P(const char* format, A... args) {
  char buffer[512];
  memset(buffer, kSentinel, sizeof buffer);
  UINTN n = AsciiSPrint(buffer, sizeof buffer, format, args...);
  EXPECT_LT(n, sizeof buffer) << format;
  EXPECT_EQ(buffer[n], '\0') << format;
  EXPECT_EQ(n, strlen(buffer)) << format;
  EXPECT_EQ(buffer[n + 1], kSentinel) << format;

  CHAR16 wide[512];
  for (auto& c : wide) c = kWideSentinel;
  UINTN wn = UnicodeSPrintAsciiFormat(wide, sizeof wide, format, args...);
  EXPECT_EQ(wn, n) << format;
  EXPECT_EQ(wide[wn], 0) << format;
  EXPECT_EQ(wide[wn + 1], kWideSentinel) << format;
  bool latin1 = true;
  std::string narrowed = Widen(std::u16string(wide, wn), &latin1);
  EXPECT_EQ(narrowed, std::string(buffer, n)) << format;
  return std::string(buffer, n);
}

// The UCS-2 result alone.
template <typename... A>
std::u16string W(const char* format, A... args) {
  CHAR16 wide[256];
  UINTN n = UnicodeSPrintAsciiFormat(wide, sizeof wide, format, args...);
  EXPECT_EQ(wide[n], 0);
  return std::u16string(wide, n);
}

struct Case {
  const char* name;
  std::string got;
  std::string want;
};

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << "case: " << c.name;
}

const EFI_GUID kStatusDataGuid = {0x335984BD, 0xE805, 0x409A, {0xB8, 0xF8, 0xD2, 0x7E, 0xCE, 0x5F, 0xF7, 0xA6}};

TEST(PrintLib, LiteralsAndPercent) {
  Check({
      {"empty", P(""), ""},
      {"plain", P("Hello, world\n"), "Hello, world\n"},
      {"percent", P("%%"), "%"},
      {"percent in text", P("100%% done"), "100% done"},
      {"percent width", P("[%3%]"), "[  %]"},
      {"no newline translation", P("a\nb\r\nc"), "a\nb\r\nc"},
      {"unknown type prints itself", P("[%q]"), "[q]"},
      {"format ends after %", P("ab%"), "ab"},
      {"format ends in width", P("ab%5"), "ab"},
      {"format ends after l", P("ab%l"), "ab"},
      {"high byte passes", P("\xC3\xA9"), "\xC3\xA9"},
  });
}

TEST(PrintLib, SignedDecimal) {
  Check({
      {"zero", P("%d", 0), "0"},
      {"positive", P("%d", 42), "42"},
      {"negative", P("%d", -42), "-42"},
      {"int max", P("%d", INT32_MAX), "2147483647"},
      {"int min", P("%d", INT32_MIN), "-2147483648"},
      {"32-bit arg sign-extends", P("%d", 0xFFFFFFFFu), "-1"},
      {"width", P("[%5d]", 42), "[   42]"},
      {"width smaller than value", P("[%1d]", 12345), "[12345]"},
      {"left", P("[%-5d]", 42), "[42   ]"},
      {"zero pad", P("[%05d]", 42), "[00042]"},
      {"zero pad negative", P("[%05d]", -42), "[-0042]"},
      {"left beats zero", P("[%-05d]", 42), "[42   ]"},
      {"plus", P("%+d", 42), "+42"},
      {"plus negative", P("%+d", -42), "-42"},
      {"blank", P("[% d]", 42), "[ 42]"},
      {"plus zero pad", P("[%+05d]", 42), "[+0042]"},
      {"precision is min digits", P("[%.3d]", 7), "[007]"},
      {"precision and width", P("[%6.3d]", -7), "[  -007]"},
      {"precision beats zero flag", P("[%06.3d]", 7), "[   007]"},
      {"star width", P("[%*d]", 5, 42), "[   42]"},
      {"star negative width left-justifies", P("[%*d]", -5, 42), "[42   ]"},
      {"star zero", P("[%0*d]", 4, 7), "[0007]"},
      {"star precision", P("[%.*d]", 4, 7), "[0007]"},
      {"negative star precision is ignored", P("[%.*d]", -1, 7), "[7]"},
      {"comma", P("%,d", 1234567), "1,234,567"},
      {"comma small", P("%,d", 999), "999"},
      {"comma exact group", P("%,d", 1000), "1,000"},
      {"comma negative", P("%,d", -1234), "-1,234"},
      {"comma disables zero", P("[%08,d]", 1234), "[   1,234]"},
      {"firmware percent format", P("[%2d%%]", 7), "[ 7%]"},
      {"firmware percent 2 digits", P("[%2d%%]", 42), "[42%]"},
  });
}

TEST(PrintLib, UnsignedAndHex) {
  Check({
      {"u zero", P("%u", 0u), "0"},
      {"u big", P("%u", 4000000000u), "4000000000"},
      {"u 32-bit arg", P("%u", -1), "4294967295"},
      {"u plus ignored", P("%+u", 5u), "5"},
      {"u comma", P("%,u", 4000000000u), "4,000,000,000"},
      {"u width", P("[%4u]", 7u), "[   7]"},
      {"x", P("%x", 0xDEADBEEFu), "deadbeef"},
      {"x zero", P("%x", 0u), "0"},
      {"x no leading zeros", P("%x", 0x0Fu), "f"},
      {"x 32-bit arg", P("%x", -1), "ffffffff"},
      {"x width pads blanks", P("[%4x]", 0xABu), "[  ab]"},
      {"x zero pad", P("[%04x]", 0xABu), "[00ab]"},
      {"x left", P("[%-4x]", 0xABu), "[ab  ]"},
      {"x comma ignored", P("%,x", 0x12345u), "12345"},
      {"x precision", P("%.4x", 0xABu), "00ab"},
      {"firmware byte dump", P("%02x ", 5u), "05 "},
      {"X", P("%X", 0xDEADBEEFu), "DEADBEEF"},
      {"X no width no zeros", P("%X", 0xABu), "AB"},
      {"X width implies zeros (EDK2)", P("[%4X]", 0xABu), "[00AB]"},
      {"X explicit zero", P("0x%08X", 0x1234u), "0x00001234"},
      {"X left", P("[%-4X]", 0xABu), "[AB  ]"},
      {"firmware pci id", P("VGA device 0x%04X 0x%04X is not ast 2500\n", 0x1A03u, 0x2000u),
       "VGA device 0x1A03 0x2000 is not ast 2500\n"},
  });
}

TEST(PrintLib, LongArguments) {
  Check({
      {"ld", P("%ld", static_cast<INT64>(-1)), "-1"},
      {"ld big", P("%ld", static_cast<INT64>(0x100000000LL)), "4294967296"},
      {"ld min", P("%ld", INT64_MIN), "-9223372036854775808"},
      {"ld max", P("%ld", INT64_MAX), "9223372036854775807"},
      {"Ld", P("%Ld", static_cast<INT64>(-5)), "-5"},
      {"lld same as ld", P("%lld", static_cast<INT64>(-5)), "-5"},
      {"lu max", P("%lu", UINT64_MAX), "18446744073709551615"},
      {"lx", P("%lx", 0x123456789ABCDEF0ULL), "123456789abcdef0"},
      {"lX", P("%lX", 0x123456789ABCDEF0ULL), "123456789ABCDEF0"},
      {"LX zero pad", P("%016LX", 0xABCULL), "0000000000000ABC"},
      {"comma ld min", P("%,ld", INT64_MIN), "-9,223,372,036,854,775,808"},
      {"l before width", P("[%l8x]", 0xABULL), "[      ab]"},
      {"mixed sizes", P("%d %ld %u %lx %d", 1, static_cast<INT64>(0x100000000LL), 2u, 0xFFFFFFFFFULL, 3),
       "1 4294967296 2 fffffffff 3"},
      {"many args (stack)",
       P("%d %d %d %d %d %d %ld %d %lx %a", 1, 2, 3, 4, 5, 6, static_cast<INT64>(-7), 8, 0x9ULL, "ten"),
       "1 2 3 4 5 6 -7 8 9 ten"},
  });
}

TEST(PrintLib, Characters) {
  Check({
      {"c", P("%c", 'A'), "A"},
      {"c width", P("[%3c]", 'x'), "[  x]"},
      {"c left", P("[%-3c]", 'x'), "[x  ]"},
      {"c nul prints nothing", P("[%c]", 0), "[]"},
      {"firmware port char", P("internal port %c)", 'B'), "internal port B)"},
  });
  EXPECT_EQ(W("%c", 0x263A), std::u16string(u"\u263A"));
  char buffer[8];
  EXPECT_EQ(AsciiSPrint(buffer, sizeof buffer, "%c", 0x141), 1u);
  EXPECT_EQ(static_cast<UINT8>(buffer[0]), 0x41);  // low byte in an ASCII buffer
}

TEST(PrintLib, AsciiStrings) {
  const char* null_string = nullptr;
  Check({
      {"a", P("%a", "hello"), "hello"},
      {"a empty", P("[%a]", ""), "[]"},
      {"a null", P("%a", null_string), "<null string>"},
      {"a width", P("[%7a]", "hello"), "[  hello]"},
      {"a left", P("[%-7a]", "hello"), "[hello  ]"},
      {"a zero flag ignored", P("[%07a]", "hello"), "[  hello]"},
      {"a precision", P("[%.3a]", "hello"), "[hel]"},
      {"a precision zero", P("[%.0a]", "hello"), "[]"},
      {"a precision beyond", P("[%.10a]", "hi"), "[hi]"},
      {"a star precision", P("[%.*a]", 2, "hello"), "[he]"},
      {"a star width and precision", P("[%*.*a]", 6, 2, "hello"), "[    he]"},
      {"a null precision", P("[%.4a]", null_string), "[<nul]"},
      {"firmware json member", P("\"%a\":\"%a\",", "key", "value"), "\"key\":\"value\","},
      {"firmware json number", P("\"%a\":%u,", "n", 12u), "\"n\":12,"},
      {"firmware a d a", P("%a%d%a", "CPU", 1, " test"), "CPU1 test"},
  });
  // Precision stops reading: an unterminated array is fine.
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(P("%.3a", unterminated), "abc");
}

TEST(PrintLib, WideStrings) {
  const CHAR16* null_string = nullptr;
  Check({
      {"s", P("%s", u"wide"), "wide"},
      {"S", P("%S", u"wide"), "wide"},
      {"s null", P("%s", null_string), "<null string>"},
      {"s width", P("[%6s]", u"wide"), "[  wide]"},
      {"s left", P("[%-6s]", u"wide"), "[wide  ]"},
      {"s precision", P("[%.2s]", u"wide"), "[wi]"},
      {"s mixed with a", P("%s=%a", u"Name", "value"), "Name=value"},
  });
  EXPECT_EQ(W("%s", u"\u00e9\u263A"), std::u16string(u"\u00e9\u263A"));
  EXPECT_EQ(W("%a", "\xE9"), std::u16string(u"\u00e9"));  // ASCII bytes zero-extend
  char buffer[8];
  EXPECT_EQ(AsciiSPrint(buffer, sizeof buffer, "%s", u"\u0141x"), 2u);
  EXPECT_EQ(static_cast<UINT8>(buffer[0]), 0x41);  // low byte of a UCS-2 character
  EXPECT_EQ(buffer[1], 'x');
}

TEST(PrintLib, Guid) {
  const EFI_GUID* null_guid = nullptr;
  const EFI_GUID zero = {};
  const EFI_GUID small = {0x1, 0x2, 0x3, {0, 1, 2, 3, 4, 5, 6, 7}};
  Check({
      {"firmware guid", P("%g", &kStatusDataGuid), "335984BD-E805-409A-B8F8-D27ECE5FF7A6"},
      {"zero guid", P("%g", &zero), "00000000-0000-0000-0000-000000000000"},
      {"leading zeros", P("%g", &small), "00000001-0002-0003-0001-020304050607"},
      {"null guid", P("%g", null_guid), "<null guid>"},
      {"guid width", P("[%38g]", &zero), "[  00000000-0000-0000-0000-000000000000]"},
      {"guid left", P("[%-37g]", &zero), "[00000000-0000-0000-0000-000000000000 ]"},
      {"guid precision", P("[%.8g]", &kStatusDataGuid), "[335984BD]"},
      {"guid between", P("<%g>", &kStatusDataGuid), "<335984BD-E805-409A-B8F8-D27ECE5FF7A6>"},
  });
  // A GUID at an odd address.
  alignas(8) UINT8 bytes[1 + sizeof(EFI_GUID)];
  memcpy(bytes + 1, &kStatusDataGuid, sizeof(EFI_GUID));
  EXPECT_EQ(P("%g", reinterpret_cast<const EFI_GUID*>(bytes + 1)), "335984BD-E805-409A-B8F8-D27ECE5FF7A6");
}

TEST(PrintLib, Pointer) {
  Check({
      {"p", P("%p", reinterpret_cast<void*>(0x1234)), "1234"},
      {"p upper", P("%p", reinterpret_cast<void*>(0xABCDEF)), "ABCDEF"},
      {"p null", P("%p", static_cast<void*>(nullptr)), "0"},
      {"p 64-bit", P("%p", reinterpret_cast<void*>(0x7FFF12345678ULL)), "7FFF12345678"},
      {"p width zero-pads", P("%16p", reinterpret_cast<void*>(0xABC)), "0000000000000ABC"},
      {"p with prefix text", P("0x%p", reinterpret_cast<void*>(0xFF)), "0xFF"},
      {"p then int", P("%p %d", reinterpret_cast<void*>(0x10), 5), "10 5"},
  });
}

struct StatusCase {
  RETURN_STATUS status;
  const char* text;
};

// Independent copy of EDK2's texts (the implementation keeps its own table).
const StatusCase kStatusTexts[] = {
    {EFI_SUCCESS, "Success"},
    {EFI_LOAD_ERROR, "Load Error"},
    {EFI_INVALID_PARAMETER, "Invalid Parameter"},
    {EFI_UNSUPPORTED, "Unsupported"},
    {EFI_BAD_BUFFER_SIZE, "Bad Buffer Size"},
    {EFI_BUFFER_TOO_SMALL, "Buffer Too Small"},
    {EFI_NOT_READY, "Not Ready"},
    {EFI_DEVICE_ERROR, "Device Error"},
    {EFI_WRITE_PROTECTED, "Write Protected"},
    {EFI_OUT_OF_RESOURCES, "Out of Resources"},
    {EFI_VOLUME_CORRUPTED, "Volume Corrupt"},
    {EFI_VOLUME_FULL, "Volume Full"},
    {EFI_NO_MEDIA, "No Media"},
    {EFI_MEDIA_CHANGED, "Media changed"},
    {EFI_NOT_FOUND, "Not Found"},
    {EFI_ACCESS_DENIED, "Access Denied"},
    {EFI_NO_RESPONSE, "No Response"},
    {EFI_NO_MAPPING, "No mapping"},
    {EFI_TIMEOUT, "Time out"},
    {EFI_NOT_STARTED, "Not started"},
    {EFI_ALREADY_STARTED, "Already started"},
    {EFI_ABORTED, "Aborted"},
    {EFI_ICMP_ERROR, "ICMP Error"},
    {EFI_TFTP_ERROR, "TFTP Error"},
    {EFI_PROTOCOL_ERROR, "Protocol Error"},
    {EFI_INCOMPATIBLE_VERSION, "Incompatible Version"},
    {EFI_SECURITY_VIOLATION, "Security Violation"},
    {EFI_CRC_ERROR, "CRC Error"},
    {EFI_END_OF_MEDIA, "End of Media"},
    {ENCODE_ERROR(29), "Reserved (29)"},
    {ENCODE_ERROR(30), "Reserved (30)"},
    {EFI_END_OF_FILE, "End of File"},
    {EFI_INVALID_LANGUAGE, "Invalid Language"},
    {EFI_COMPROMISED_DATA, "Compromised Data"},
    {ENCODE_ERROR(34), "IP Address Conflict"},
    {ENCODE_ERROR(35), "HTTP Error"},
    {EFI_WARN_UNKNOWN_GLYPH, "Warning Unknown Glyph"},
    {EFI_WARN_DELETE_FAILURE, "Warning Delete Failure"},
    {EFI_WARN_WRITE_FAILURE, "Warning Write Failure"},
    {EFI_WARN_BUFFER_TOO_SMALL, "Warning Buffer Too Small"},
    {EFI_WARN_STALE_DATA, "Warning Stale Data"},
};

TEST(PrintLib, StatusTexts) {
  for (const auto& c : kStatusTexts) {
    EXPECT_EQ(P("%r", c.status), c.text) << std::hex << c.status;
    EXPECT_EQ(P("[%r]", c.status), std::string("[") + c.text + "]") << std::hex << c.status;
  }
}

TEST(PrintLib, StatusFormatting) {
  Check({
      {"unknown error", P("%r", ENCODE_ERROR(0x63)), "8000000000000063"},
      {"unknown warning", P("%r", ENCODE_WARNING(0x63)), "00000063"},
      {"unknown big warning", P("%r", static_cast<RETURN_STATUS>(0x123456789ULL)), "123456789"},
      {"error 0 is unknown", P("%r", ENCODE_ERROR(0)), "8000000000000000"},
      {"error 36 is unknown", P("%r", ENCODE_ERROR(36)), "8000000000000024"},
      {"warning 6 is unknown", P("%r", ENCODE_WARNING(6)), "00000006"},
      {"32-bit-looking error is unknown", P("%r", static_cast<RETURN_STATUS>(0x80000002u)), "80000002"},
      {"width", P("[%10r]", EFI_SUCCESS), "[   Success]"},
      {"left", P("[%-10r]", EFI_SUCCESS), "[Success   ]"},
      {"precision", P("[%.3r]", EFI_NOT_FOUND), "[Not]"},
      {"firmware message", P("Failed to locate ipmi ppi %r\n", EFI_NOT_FOUND), "Failed to locate ipmi ppi Not Found\n"},
      {"status then int", P("%r %u 0x%08X", EFI_DEVICE_ERROR, 3u, 0x10u), "Device Error 3 0x00000010"},
  });
}

// Every prefix length: the result is the full text cut to BufferSize - 1 characters,
// NUL-terminated, the return value is its length, and nothing after it is written.
TEST(PrintLib, TruncationAtEveryAsciiSize) {
  const char* format = "%a|%5d|%-4x|%r|%g|%c|%%";
  const std::string full = P(format, "abc", -42, 0xABu, EFI_NOT_FOUND, &kStatusDataGuid, 'Z');
  ASSERT_EQ(full, "abc|  -42|ab  |Not Found|335984BD-E805-409A-B8F8-D27ECE5FF7A6|Z|%");
  for (UINTN size = 0; size <= full.size() + 2; size++) {
    char buffer[128];
    memset(buffer, kSentinel, sizeof buffer);
    UINTN n = AsciiSPrint(buffer, size, format, "abc", -42, 0xABu, EFI_NOT_FOUND, &kStatusDataGuid, 'Z');
    UINTN expected = size == 0 ? 0 : std::min<UINTN>(size - 1, full.size());
    ASSERT_EQ(n, expected) << "size " << size;
    if (size > 0) {
      EXPECT_EQ(std::string(buffer, n), full.substr(0, n)) << "size " << size;
      EXPECT_EQ(buffer[n], '\0') << "size " << size;
    }
    for (UINTN i = std::max<UINTN>(size, n + 1); i < sizeof buffer; i++) {
      ASSERT_EQ(buffer[i], kSentinel) << "size " << size << " byte " << i;
    }
    if (size == 0) {
      EXPECT_EQ(buffer[0], kSentinel);
    }
  }
}

TEST(PrintLib, TruncationAtEveryUnicodeSize) {
  const char* format = "%s-%a-%08X";
  const std::string full = P(format, u"wide", "narrow", 0xBEEFu);
  ASSERT_EQ(full, "wide-narrow-0000BEEF");
  for (UINTN size = 0; size <= 2 * full.size() + 4; size++) {
    CHAR16 buffer[64];
    for (auto& c : buffer) c = kWideSentinel;
    UINTN n = UnicodeSPrintAsciiFormat(buffer, size, format, u"wide", "narrow", 0xBEEFu);
    UINTN chars = size / sizeof(CHAR16);
    UINTN expected = chars == 0 ? 0 : std::min<UINTN>(chars - 1, full.size());
    ASSERT_EQ(n, expected) << "size " << size;
    if (chars > 0) {
      bool latin1 = true;
      EXPECT_EQ(Widen(std::u16string(buffer, n), &latin1), full.substr(0, n)) << "size " << size;
      EXPECT_EQ(buffer[n], 0) << "size " << size;
    }
    UINTN first_untouched = chars == 0 ? 0 : n + 1;
    for (UINTN i = first_untouched; i < ARRAY_SIZE(buffer); i++) {
      ASSERT_EQ(buffer[i], kWideSentinel) << "size " << size << " char " << i;
    }
  }
}

TEST(PrintLib, SmallAndInvalidBuffers) {
  char buffer[8];
  memset(buffer, kSentinel, sizeof buffer);
  EXPECT_EQ(AsciiSPrint(buffer, 0, "hello"), 0u);
  EXPECT_EQ(buffer[0], kSentinel);

  EXPECT_EQ(AsciiSPrint(buffer, 1, "hello"), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], kSentinel);

  memset(buffer, kSentinel, sizeof buffer);
  EXPECT_EQ(AsciiSPrint(buffer, 1, "%d", 12345), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], kSentinel);

  memset(buffer, kSentinel, sizeof buffer);
  EXPECT_EQ(AsciiSPrint(buffer, 5, "hello world"), 4u);
  EXPECT_STREQ(buffer, "hell");
  EXPECT_EQ(buffer[5], kSentinel);

  EXPECT_EQ(AsciiSPrint(nullptr, 0, "hello"), 0u);
  EXPECT_EQ(AsciiSPrint(nullptr, 10, "hello"), 0u);

  memset(buffer, kSentinel, sizeof buffer);
  EXPECT_EQ(AsciiSPrint(buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(buffer[0], '\0');

  CHAR16 wide[4] = {kWideSentinel, kWideSentinel, kWideSentinel, kWideSentinel};
  EXPECT_EQ(UnicodeSPrintAsciiFormat(wide, 1, "hi"), 0u);  // no room for a CHAR16 NUL
  EXPECT_EQ(wide[0], kWideSentinel);
  EXPECT_EQ(UnicodeSPrintAsciiFormat(wide, 2, "hi"), 0u);
  EXPECT_EQ(wide[0], 0);
  EXPECT_EQ(wide[1], kWideSentinel);
  EXPECT_EQ(UnicodeSPrintAsciiFormat(wide, 5, "hi"), 1u);  // 2 characters: 'h' and NUL
  EXPECT_EQ(wide[0], u'h');
  EXPECT_EQ(wide[1], 0);
  EXPECT_EQ(wide[2], kWideSentinel);
  EXPECT_EQ(UnicodeSPrintAsciiFormat(nullptr, 8, "hi"), 0u);
}

TEST(PrintLib, TruncationInsideFields) {
  char buffer[8];
  EXPECT_EQ(AsciiSPrint(buffer, 4, "%10d", 5), 3u);
  EXPECT_STREQ(buffer, "   ");
  EXPECT_EQ(AsciiSPrint(buffer, 4, "%-10d|", 5), 3u);
  EXPECT_STREQ(buffer, "5  ");
  EXPECT_EQ(AsciiSPrint(buffer, 6, "%r", EFI_INVALID_PARAMETER), 5u);
  EXPECT_STREQ(buffer, "Inval");
  EXPECT_EQ(AsciiSPrint(buffer, 7, "%g", &kStatusDataGuid), 6u);
  EXPECT_STREQ(buffer, "335984");
  EXPECT_EQ(AsciiSPrint(buffer, 3, "%08X", 0xABu), 2u);
  EXPECT_STREQ(buffer, "00");
  // A huge width stops at the buffer's end (and quickly).
  char big[64];
  EXPECT_EQ(AsciiSPrint(big, sizeof big, "%*d", INT32_MAX, 1), sizeof big - 1);
  EXPECT_EQ(std::string(big), std::string(sizeof big - 1, ' '));
  EXPECT_EQ(AsciiSPrint(big, sizeof big, "%999999999999999999999d", 1), sizeof big - 1);
}

UINTN CallV(char* buffer, UINTN size, const char* format, ...) {
  VA_LIST marker;
  VA_START(marker, format);
  UINTN n = AsciiVSPrint(buffer, size, format, marker);
  VA_END(marker);
  return n;
}

UINTN CallUnicodeV(CHAR16* buffer, UINTN size, const char* format, ...) {
  VA_LIST marker;
  VA_START(marker, format);
  UINTN n = UnicodeVSPrintAsciiFormat(buffer, size, format, marker);
  VA_END(marker);
  return n;
}

TEST(PrintLib, VaListVariants) {
  char buffer[64];
  EXPECT_EQ(CallV(buffer, sizeof buffer, "%a %d %r", "x", -3, EFI_SUCCESS), 12u);
  EXPECT_STREQ(buffer, "x -3 Success");
  CHAR16 wide[64];
  EXPECT_EQ(CallUnicodeV(wide, sizeof wide, "%a=%lu", "n", 10ULL), 4u);
  EXPECT_EQ(std::u16string(wide), u"n=10");
}

// Differential test against the C library where the conventions coincide: %d %u %x (and
// their 64-bit forms, 'll' in C) with '-' '+' ' ' '0', widths and precisions; %a like %s.
TEST(PrintLib, MatchesSnprintfOnCommonConversions) {
  std::mt19937_64 rng(12345);
  const char* flag_chars = "-+ 0";
  for (int iteration = 0; iteration < 20000; iteration++) {
    std::string flags;
    for (int i = 0; i < 4; i++) {
      if (rng() % 3 == 0) flags += flag_chars[i];
    }
    std::string width = (rng() % 2) ? std::to_string(rng() % 14) : "";
    if (width == "0") width = "";
    std::string precision;
    if (rng() % 4 == 0) precision = "." + std::to_string(rng() % 12);
    bool is_long = rng() % 2;
    char conversion = "duxa"[rng() % 4];
    uint64_t raw = rng();
    switch (rng() % 4) {
      case 0: raw &= 0xFF; break;
      case 1: raw &= 0xFFFFFFFF; break;
      case 2: raw = (rng() % 2) ? 0 : ~0ULL; break;
      default: break;
    }
    if (!precision.empty() && raw == 0 && conversion != 'a') precision = "";  // C prints "" for %.0d of 0

    std::string ours = "[%" + flags + width + precision + (is_long && conversion != 'a' ? "l" : "") + conversion + "]";
    std::string theirs = "[%" + flags + width + precision + (is_long && conversion != 'a' ? "ll" : "") +
                         (conversion == 'a' ? 's' : conversion) + "]";
    char want[128];
    std::string got;
    if (conversion == 'a') {
      static const char* strings[] = {"", "a", "hello", "a longer string"};
      const char* s = strings[raw % 4];
      snprintf(want, sizeof want, theirs.c_str(), s);
      got = P(ours.c_str(), s);
    } else if (is_long) {
      snprintf(want, sizeof want, theirs.c_str(), static_cast<unsigned long long>(raw));
      got = P(ours.c_str(), static_cast<UINT64>(raw));
    } else {
      snprintf(want, sizeof want, theirs.c_str(), static_cast<unsigned>(raw));
      got = P(ours.c_str(), static_cast<UINT32>(raw));
    }
    ASSERT_EQ(got, want) << ours << " raw=" << raw;
  }
}

}  // namespace
