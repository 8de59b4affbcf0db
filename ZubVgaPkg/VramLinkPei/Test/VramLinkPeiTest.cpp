// The quick-transfer module on the simulated board, against the board's BMC responder:
// request layout and CRCs checked with zlib, argument bounds, trigger retries, answer
// validation, files in both directions.
#include <gtest/gtest.h>

#include <Ppi/QuickTrans.h>

#include "Bmc/TestSupport/QuickTransferBoard.h"

namespace zub {
namespace {

using test::QuickTransferBoot;
using test::zcrc;

BoardConfig board(const nlohmann::json& bmc = nlohmann::json::object()) { return boardWith({{"bmc", bmc}}); }

struct Link : QuickTransferBoot {
  using QuickTransferBoot::QuickTransferBoot;
  QUICK_TRANS_PPI* ppi() { return boot.locate<QUICK_TRANS_PPI>(gQuickTransPpiGuid); }
};

TEST(VramLink, EntryInstallsThePpi) {
  Link l(board());
  ASSERT_NE(l.ppi(), nullptr);
  EXPECT_EQ(l.count("VramLinkPeiEntry  --- start\n"), 1u);
  EXPECT_EQ(l.count("VramLinkPeiEntry  --- finish\n"), 1u);
}

TEST(VramLink, RequestHeaderLayoutAndCrcsMatchZlib) {
  for (uint32_t length : {0u, 300u}) {
    Link l(board());
    uint8_t params[224], data[300];
    for (int i = 0; i < 224; ++i) params[i] = static_cast<uint8_t>(i * 7);
    for (int i = 0; i < 300; ++i) data[i] = static_cast<uint8_t>(i ^ 0x5A);
    std::memset(l.request(), 0xCC, 0x200);
    QUICK_TRANS_HEADER* answer = nullptr;
    ASSERT_EQ(l.ppi()->SendCommand(9, params, length, length ? data : nullptr, &answer), EFI_SUCCESS);
    const uint8_t* r = l.request();
    EXPECT_EQ(l.u32(r, 0x04), 0x64616776u);
    EXPECT_EQ(std::memcmp(r + 4, "vgad", 4), 0);
    EXPECT_EQ(loadLe(r + 0x08, 2), 9u);
    EXPECT_EQ(loadLe(r + 0x0A, 2), 1u);
    EXPECT_EQ(l.u32(r, 0x0C), 0u);
    EXPECT_EQ(l.u32(r, 0x10), 1u) << "Flags is 1 also without data";
    EXPECT_EQ(l.u32(r, 0x14), length);
    EXPECT_EQ(l.u32(r, 0x18), length ? zcrc(data, length) : 0u);
    EXPECT_EQ(l.u32(r, 0x1C), 0u);
    EXPECT_EQ(std::memcmp(r + 0x20, params, 224), 0);
    EXPECT_EQ(l.u32(r, 0x00), zcrc(r + 4, 252));
    if (length) {
      EXPECT_EQ(std::memcmp(r + 0x100, data, length), 0);
    }
    char line[64];
    std::snprintf(line, sizeof line, "Cmd 9 DataLen:300 DataCrc:0x%X\n", zcrc(data, 300));
    EXPECT_EQ(l.count(line), length ? 1u : 0u);
    EXPECT_EQ(l.count("DataLen:"), length ? 1u : 0u);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(answer), l.answer());
  }
}

TEST(VramLink, ArgumentBoundsAreCheckedBeforeAnyTraffic) {
  struct Case {
    const char* name;
    uint16_t command;
    bool params;
    uint32_t length;
    bool answer;
    EFI_STATUS status;
  } cases[] = {
      {"command 0", 0, true, 0, true, EFI_INVALID_PARAMETER},
      {"command 10", 10, true, 0, true, EFI_INVALID_PARAMETER},
      {"command 9", 9, true, 0, true, EFI_SUCCESS},
      {"command 1", 1, true, 0, true, EFI_SUCCESS},
      {"length 0xFFF00", 9, true, 0xFFF00, true, EFI_SUCCESS},
      {"length 0xFFF01", 9, true, 0xFFF01, true, EFI_INVALID_PARAMETER},
      {"no parameters", 9, false, 0, true, EFI_INVALID_PARAMETER},
      {"no answer pointer", 9, true, 0, false, EFI_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    Link l(board());
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    EXPECT_EQ(l.ppi()->SendCommand(c.command, c.params ? params : nullptr, c.length, nullptr,
                                   c.answer ? &answer : nullptr),
              c.status)
        << c.name;
    EXPECT_EQ(l.triggers(), c.status == EFI_SUCCESS ? 1u : 0u) << c.name;
    if (c.length == 0xFFF00) {
      EXPECT_EQ(l.u32(l.request(), 0x18), zcrc(l.request() + 0x100, 0xFFF00));
    }
  }
}

TEST(VramLink, TriggerIsTriedFiveTimesWithoutPause) {
  struct Case {
    uint32_t failFirst;
    EFI_STATUS status;
    size_t tries;
  } cases[] = {{0, EFI_SUCCESS, 1}, {2, EFI_SUCCESS, 3}, {4, EFI_SUCCESS, 5}, {5, EFI_DEVICE_ERROR, 5}};
  for (const auto& c : cases) {
    Link l(board({{"quick_transfer", {{"fail_first_triggers", c.failFirst}}}}));
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    uint64_t before = l.boot.machine().clock.nowNs();
    EXPECT_EQ(l.ppi()->SendCommand(8, params, 0, nullptr, &answer), c.status) << c.failFirst;
    EXPECT_EQ(l.triggers(), c.tries);
    EXPECT_EQ(l.count("Trigger BMC "), c.tries);
    EXPECT_EQ(l.count("Trigger BMC Success\n"), c.status == EFI_SUCCESS ? 1u : 0u);
    EXPECT_LT(l.boot.machine().clock.nowNs() - before, 1'000'000u) << "no waits between tries";
    for (const auto& e : l.boot.events().ofType("ipmi_request")) {
      EXPECT_EQ(e["netfn"], "0x36");
      EXPECT_EQ(e["cmd"], "0x04");
      EXPECT_EQ(e["data"], "5B 4E 00 20");
    }
  }
}

TEST(VramLink, CorruptAnswersAreRefused) {
  struct Case {
    const char* knob;
    EFI_STATUS status;
    const char* message;
    bool dump;
  } cases[] = {
      {"corrupt_header_crc", EFI_CRC_ERROR, "Header crc32 mismatch 0x", true},
      {"corrupt_data_crc", EFI_CRC_ERROR, "Data crc32 mismatch 0x", false},
      {"overlong_answer", EFI_BAD_BUFFER_SIZE, "Answer data length 0x100000 beyond the area\n", true},
  };
  for (const auto& c : cases) {
    Link l(board({{"quick_transfer", {{c.knob, true}}}, {"pei_param", {{"oem_flag", 1}}}}));
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    EXPECT_EQ(l.ppi()->SendCommand(8, params, 0, nullptr, &answer), c.status) << c.knob;
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(l.count(c.message), 1u) << c.knob << "\n" << l.log();
    EXPECT_EQ(l.count("===== CMD head dump begin ====\n"), c.dump ? 1u : 0u) << c.knob;
  }
}

TEST(VramLink, AnswerDumpShowsTheFirst32Bytes) {
  Link l(board({{"quick_transfer", {{"corrupt_header_crc", true}}}}));
  uint8_t params[224] = {};
  QUICK_TRANS_HEADER* answer = nullptr;
  l.ppi()->SendCommand(8, params, 0, nullptr, &answer);
  std::string dump = "===== CMD head dump begin ====\n";
  for (int i = 0; i < 32; ++i) {
    char b[8];
    std::snprintf(b, sizeof b, "%02x ", l.answer()[i]);
    dump += b;
    if (i % 16 == 15) dump += "\n";
  }
  dump += "\n===== CMD head dump end ====\n";
  EXPECT_EQ(l.count(dump), 1u) << l.log();
}

// A BMC answering with a hand-made header: the data CRC is compared only when flagged
// and there is data.
TEST(VramLink, DataCrcIsComparedOnlyWhenFlaggedAndPresent) {
  struct Case {
    uint32_t flags, length;
    bool rightCrc;
    EFI_STATUS status;
  } cases[] = {{1, 16, true, EFI_SUCCESS}, {1, 16, false, EFI_CRC_ERROR}, {0, 16, false, EFI_SUCCESS},
               {1, 0, false, EFI_SUCCESS}, {1, 0xFFF00, true, EFI_SUCCESS}, {0, 0xFFF01, true, EFI_BAD_BUFFER_SIZE}};
  for (const auto& c : cases) {
    Link l(board());
    l.boot.bmc().handle(0x36, 0x04, [&](const std::vector<uint8_t>&) {
      uint8_t* a = l.answer();
      std::memset(a, 0, 256);
      storeLe(a + 4, 4, 0x64616776);
      storeLe(a + 0x10, 4, c.flags);
      storeLe(a + 0x14, 4, c.length);
      uint32_t crc = zcrc(a + 0x100, std::min<uint32_t>(c.length, 0xFFF00));
      storeLe(a + 0x18, 4, c.rightCrc ? crc : crc ^ 0xFFFF);
      storeLe(a, 4, zcrc(a + 4, 252));
      return std::vector<uint8_t>{0};
    });
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    EXPECT_EQ(l.ppi()->SendCommand(1, params, 0, nullptr, &answer), c.status)
        << c.flags << " " << c.length << " " << c.rightCrc;
  }
}

TEST(VramLink, GetFileResults) {
  std::string big(0xFFEFD, 'x');   // one byte more than a GET_FILE may carry
  auto files = nlohmann::json::array({{{"name", "bios_logo_post.bmp"}, {"data", "42 4D 01 02 03"}},
                                      {{"name", "big.bin"}, {"text", big}},
                                      {{"name", std::string(127, 'n')}, {"text", "long name"}}});
  struct Case {
    const char* name;
    std::string file;
    uint32_t excess;
    EFI_STATUS status;
    std::string content;
    size_t triggers;
  } cases[] = {
      {"delivered", "bios_logo_post.bmp", 0, EFI_SUCCESS, "\x42\x4D\x01\x02\x03", 1},
      {"not found", "absent.bin", 0, EFI_NOT_FOUND, "", 1},
      {"other result", "big.bin", 0, EFI_OUT_OF_RESOURCES, "", 1},
      {"size beyond the data", "bios_logo_post.bmp", 1, EFI_BAD_BUFFER_SIZE, "", 1},
      {"127-character name", std::string(127, 'n'), 0, EFI_SUCCESS, "long name", 1},
      {"128-character name refused", std::string(128, 'n'), 0, EFI_INVALID_PARAMETER, "", 0},
  };
  for (const auto& c : cases) {
    Link l(board({{"files", files}, {"quick_transfer", {{"file_size_excess", c.excess}}}}));
    UINT32 size = 77;
    VOID* data = reinterpret_cast<VOID*>(1);
    EXPECT_EQ(l.ppi()->GetFile(c.file.c_str(), &size, &data), c.status) << c.name;
    EXPECT_EQ(size, c.content.size()) << c.name;
    EXPECT_EQ(l.triggers(), c.triggers) << c.name;
    if (c.status == EFI_SUCCESS) {
      ASSERT_EQ(data, l.answer() + 0x100);
      EXPECT_EQ(std::string(static_cast<char*>(data), size), c.content);
      const uint8_t* p = l.request() + 0x20;
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(p)), c.file);
      EXPECT_EQ(l.u32(p, 0x80), 0u);
      EXPECT_EQ(loadLe(p + 0x84, 8), 0xFFEFCu);
      EXPECT_EQ(loadLe(p + 0x8C, 8), 0u);
    } else {
      EXPECT_EQ(data, nullptr) << c.name;
    }
    if (c.status == EFI_OUT_OF_RESOURCES) {
      EXPECT_EQ(l.count("Result:0x7\n"), 1u);
    }
  }
}

std::string gHookText;
EFI_STATUS gHookStatus;
UINT32 gHookMax;
EFI_STATUS EFIAPI textHook(UINT32 max, VOID* buffer, UINT32* size) {
  gHookMax = max;
  std::memcpy(buffer, gHookText.data(), gHookText.size());
  *size = static_cast<UINT32>(gHookText.size());
  return gHookStatus;
}

TEST(VramLink, PushFileSendsWhatTheHookWroteUnderANameOfAtMost127Characters) {
  struct Case {
    std::string name, sentName, text;
    EFI_STATUS hook, status;
  } cases[] = {
      {"push_BiosStartBoot.json", "push_BiosStartBoot.json", "{\"a\":1}", EFI_SUCCESS, EFI_SUCCESS},
      {std::string(200, 'q'), std::string(127, 'q'), "data", EFI_SUCCESS, EFI_SUCCESS},
      {"x.json", "", "data", EFI_DEVICE_ERROR, EFI_DEVICE_ERROR},
      {"x.json", "", "", EFI_SUCCESS, EFI_BAD_BUFFER_SIZE},
  };
  for (const auto& c : cases) {
    Link l(board());
    gHookText = c.text, gHookStatus = c.hook;
    EXPECT_EQ(l.ppi()->PushFile(c.name.c_str(), 0x5A, textHook), c.status);
    EXPECT_EQ(gHookMax, 0xFFF00u);
    const auto& got = l.boot.bmc().receivedFiles();
    if (c.status != EFI_SUCCESS) {
      EXPECT_EQ(got.size(), 0u);
      EXPECT_EQ(l.triggers(), 0u);
      EXPECT_EQ(l.count("Get data failed from hook "), 1u);
      continue;
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].name, c.sentName);
    EXPECT_EQ(std::string(got[0].bytes.begin(), got[0].bytes.end()), c.text);
    const uint8_t* p = l.request() + 0x20;
    EXPECT_EQ(l.u32(p, 0x80), 0x5Au);
    EXPECT_EQ(loadLe(p + 0x84, 8), c.text.size());
    EXPECT_EQ(loadLe(p + 0x8C, 8), c.text.size());
  }
  Link l(board());
  EXPECT_EQ(l.ppi()->PushFile(nullptr, 0, textHook), EFI_INVALID_PARAMETER);
  EXPECT_EQ(l.ppi()->PushFile("a", 0, nullptr), EFI_INVALID_PARAMETER);
  UINT32 size;
  VOID* data;
  EXPECT_EQ(l.ppi()->GetFile(nullptr, &size, &data), EFI_INVALID_PARAMETER);
  EXPECT_EQ(l.ppi()->GetFile("a", nullptr, &data), EFI_INVALID_PARAMETER);
  EXPECT_EQ(l.ppi()->GetFile("a", &size, nullptr), EFI_INVALID_PARAMETER);
}

TEST(VramLink, WithoutVideoMemoryOrRelayNothingIsPretended) {
  {
    Link l(board(), {"IpmiRelayPei", "VramLinkPei"}, false);
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    EXPECT_EQ(l.ppi()->SendCommand(8, params, 0, nullptr, &answer), EFI_NO_MAPPING);
    EXPECT_EQ(l.count("Data is not written to dest buffer 0xFFFFFFFF\n"), 1u) << l.log();
    EXPECT_EQ(l.triggers(), 0u);
  }
  {
    Link l(board(), {"VramLinkPei"});
    uint8_t params[224] = {};
    QUICK_TRANS_HEADER* answer = nullptr;
    EXPECT_EQ(l.ppi()->SendCommand(8, params, 0, nullptr, &answer), EFI_NOT_FOUND);
    EXPECT_EQ(l.count("Failed to locate ipmi transport ppi Not Found\n"), 1u);
  }
}

}  // namespace
}  // namespace zub
