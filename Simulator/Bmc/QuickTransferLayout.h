// The quick-transfer layout as the BMC reads and writes it: offsets of QUICK_TRANS_HEADER
// and QUICK_TRANS_FILE_PARAMS, kept independent of the firmware's header.
#pragma once
#include <cstdint>

namespace zub::qt {

constexpr uint32_t kSignature = 0x64616776;   // "vgad"
constexpr uint64_t kAreaSize = 0x100000, kAnswerFromEnd = 0x200000, kRequestFromEnd = 0x100000;
constexpr uint64_t kDataOffset = 0x100, kMaxData = 0xFFF00;

// Header offsets.
constexpr unsigned kHeaderCrc = 0x00, kSig = 0x04, kCommand = 0x08, kVersion = 0x0A, kResult = 0x0C, kFlags = 0x10,
                   kDataLength = 0x14, kDataCrc = 0x18, kParams = 0x20, kHeaderSize = 0x100;
// File parameter offsets inside Params.
constexpr unsigned kFileName = 0x00, kFileNameSize = 128, kOption = 0x80, kLength = 0x84, kTotalLength = 0x8C;

constexpr uint16_t kGetFile = 2, kPushFile = 3, kGetPeiParam = 8;
constexpr uint32_t kResultOk = 0x14, kResultNotFound = 6, kResultUnsupported = 1, kResultTooLarge = 7;

}  // namespace zub::qt
