#include "QuickTransferResponder.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <zlib.h>

#include "Machine/MemoryMap.h"
#include "QuickTransferLayout.h"

namespace zub {

namespace {

uint32_t crc(const uint8_t* p, size_t n) { return n ? static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n))) : 0; }
uint32_t get32(const uint8_t* p) { return static_cast<uint32_t>(loadLe(p, 4)); }

struct Reply {
  uint32_t result = qt::kResultOk;
  std::vector<uint8_t> data;
  uint32_t fileSize = 0;
  bool isFile = false;
};

}  // namespace

QuickTransferResponder::QuickTransferResponder(Bmc& bmc, const MemoryMap& memory, ApertureSource aperture)
    : bmc_(bmc), memory_(memory), aperture_(std::move(aperture)) {}

void QuickTransferResponder::install() {
  if (!bmc_.config().quickTransfer.enabled) return;
  otherSubCommands_ = bmc_.handlerFor(kNetFn, kCommand);
  bmc_.handle(kNetFn, kCommand, [this](const std::vector<uint8_t>& r) { return onTrigger(r); });
}

std::vector<uint8_t> QuickTransferResponder::onTrigger(const std::vector<uint8_t>& request) {
  static const std::vector<uint8_t> kTrigger = {0x5B, 0x4E, 0x00, 0x20};
  if (request != kTrigger) return otherSubCommands_ ? otherSubCommands_(request) : std::vector<uint8_t>{0xC1};
  const QuickTransferConfig& knobs = bmc_.config().quickTransfer;
  if (triggers_++ < knobs.failFirstTriggers) return {0xC0};

  VideoAperture ap = aperture_();
  uint64_t end = (ap.base + ap.size) & 0xFFFFFFFF;
  auto fail = [&](const std::string& why) {
    bmc_.events().add("quick_transfer", {{"error", why}});
    return std::vector<uint8_t>{0xCC};
  };
  if (end < qt::kAnswerFromEnd) return fail("no video memory");
  uint8_t* req = memory_.hostPointer(end - qt::kRequestFromEnd, qt::kAreaSize);
  uint8_t* ans = memory_.hostPointer(end - qt::kAnswerFromEnd, qt::kAreaSize);
  if (!req || !ans) return fail("video memory not reachable");

  if (get32(req + qt::kHeaderCrc) != crc(req + qt::kSig, qt::kHeaderSize - qt::kSig)) return fail("header crc");
  if (get32(req + qt::kSig) != qt::kSignature) return fail("signature");
  uint16_t command = static_cast<uint16_t>(loadLe(req + qt::kCommand, 2));
  uint32_t length = get32(req + qt::kDataLength);
  if (length > qt::kMaxData) return fail("data length");
  if ((get32(req + qt::kFlags) & 1) && length && get32(req + qt::kDataCrc) != crc(req + qt::kDataOffset, length))
    return fail("data crc");

  const uint8_t* params = req + qt::kParams;
  auto fileName = [&] {
    const char* n = reinterpret_cast<const char*>(params + qt::kFileName);
    return std::string(n, strnlen(n, qt::kFileNameSize));
  };
  Reply reply;
  nlohmann::json event = {{"command", command}, {"data_length", length}};
  switch (command) {
    case qt::kGetFile: {
      std::string name = fileName();
      uint64_t wanted = std::min<uint64_t>(loadLe(params + qt::kLength, 8), qt::kMaxData);
      event["file"] = name;
      const auto& files = bmc_.config().files;
      auto it = std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.first == name; });
      if (it == files.end()) reply.result = qt::kResultNotFound;
      else if (it->second.size() > wanted) reply.result = qt::kResultTooLarge;
      else {
        reply.data = it->second;
        reply.isFile = true;
        reply.fileSize = static_cast<uint32_t>(it->second.size()) + knobs.fileSizeExcess;
      }
      break;
    }
    case qt::kPushFile: {
      std::string name = fileName();
      uint64_t declared = loadLe(params + qt::kLength, 8);
      event["file"] = name;
      event["option"] = get32(params + qt::kOption);
      if (declared != length) event["length_param"] = declared;
      bmc_.receivedFiles().push_back({name, std::vector<uint8_t>(req + qt::kDataOffset, req + qt::kDataOffset + length)});
      break;
    }
    case qt::kGetPeiParam: reply.data = bmc_.config().peiParam; break;
    default: reply.result = qt::kResultUnsupported; break;
  }
  event["result"] = reply.result;
  bmc_.events().add("quick_transfer", event);

  std::memset(ans, 0, qt::kHeaderSize);
  std::copy(reply.data.begin(), reply.data.end(), ans + qt::kDataOffset);
  uint32_t dataLength = static_cast<uint32_t>(reply.data.size());
  uint32_t dataCrc = crc(ans + qt::kDataOffset, dataLength);
  if (knobs.corruptDataCrc && dataLength) dataCrc ^= 0x1;
  if (knobs.overlongAnswer) dataLength = static_cast<uint32_t>(qt::kAreaSize);
  storeLe(ans + qt::kSig, 4, qt::kSignature);
  storeLe(ans + qt::kCommand, 2, command);
  storeLe(ans + qt::kVersion, 2, 1);
  storeLe(ans + qt::kResult, 4, reply.result);
  storeLe(ans + qt::kFlags, 4, 1);
  storeLe(ans + qt::kDataLength, 4, dataLength);
  storeLe(ans + qt::kDataCrc, 4, dataCrc);
  if (reply.isFile) storeLe(ans + qt::kParams, 4, reply.fileSize);
  uint32_t headerCrc = crc(ans + qt::kSig, qt::kHeaderSize - qt::kSig);
  if (knobs.corruptHeaderCrc) headerCrc ^= 0x1;
  storeLe(ans + qt::kHeaderCrc, 4, headerCrc);
  return {0x00};
}

}  // namespace zub
