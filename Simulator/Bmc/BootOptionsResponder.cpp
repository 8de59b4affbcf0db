#include "BootOptionsResponder.h"

#include <memory>

#include "Bmc.h"

namespace zub {

namespace {
constexpr uint8_t kNetFnChassis = 0x00, kNetFnOem = 0x36;
constexpr uint8_t kGetSystemBootOptions = 0x09, kOemBootMode = 0x0B, kOemEvort = 0x09;
constexpr uint8_t kInvalidCommand = 0xC1, kBusy = 0xC0, kParameterNotSupported = 0x80, kBadLength = 0xC7;
constexpr uint8_t kIana[3] = {0x5B, 0x4E, 0x00};

bool oemRequest(const std::vector<uint8_t>& r, uint8_t sub) {
  return r.size() >= 4 && r[0] == kIana[0] && r[1] == kIana[1] && r[2] == kIana[2] && r[3] == sub;
}
}  // namespace

void serveBootOptions(Bmc& bmc, const BmcBootOptions& options) {
  auto state = std::make_shared<BmcBootOptions>(options);
  bmc.handle(kNetFnChassis, kGetSystemBootOptions, [state](const std::vector<uint8_t>& r) -> std::vector<uint8_t> {
    if (r.size() != 3) return {kBadLength};
    switch (r[0] & 0x7F) {
      case 0: {
        uint8_t inProgress = 0;
        if (state->setInProgressPolls > 0) {
          --state->setInProgressPolls;
          inProgress = 1;
        }
        return {0x00, 0x01, 0x00, inProgress, state->acknowledge};
      }
      case 5: {
        std::vector<uint8_t> a = {0x00, 0x01, 0x05};
        a.insert(a.end(), state->bootFlags, state->bootFlags + 5);
        return a;
      }
      default: return {kParameterNotSupported};
    }
  });
  bmc.handle(kNetFnOem, kOemBootMode, [state](const std::vector<uint8_t>& r) -> std::vector<uint8_t> {
    if (!state->oemConfig || !oemRequest(r, 0x2E)) return {kInvalidCommand};
    return {0x00, kIana[0], kIana[1], kIana[2], state->oemFlag, state->oemBootMode, 0x00, 0x00};
  });
  bmc.handle(kNetFnOem, kOemEvort, [state](const std::vector<uint8_t>& r) -> std::vector<uint8_t> {
    if (!oemRequest(r, 0x08)) return {kInvalidCommand};
    if (state->evortFailures > 0) {
      --state->evortFailures;
      return {kBusy};
    }
    return {0x00, kIana[0], kIana[1], kIana[2]};
  });
}

}  // namespace zub
