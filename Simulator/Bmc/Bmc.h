// The BMC as the firmware sees it through IPMI. Commands are answered by handlers
// registered per (NetFn, command); a request nothing handles gets completion code 0xC1
// (invalid command). Every request and answer is recorded in the event log.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "VolatileSlots.h"
#include "Machine/EventLog.h"

namespace zub {

// What the BMC serves and how its quick-transfer responder misbehaves on request.
struct QuickTransferConfig {
  bool enabled = true;                  // false: the trigger command is not understood
  uint32_t failFirstTriggers = 0;       // the first N triggers answer completion code 0xC0 (busy)
  bool corruptHeaderCrc = false;        // answers carry a wrong header CRC
  bool corruptDataCrc = false;          // answers with data carry a wrong data CRC
  bool overlongAnswer = false;          // answers announce more data than the area holds
  uint32_t fileSizeExcess = 0;          // a delivered file's FileSize claims this much more than sent
};

struct BmcConfig {
  bool present = true;
  uint64_t responseDelayNs = 0;    // virtual time each answer takes
  QuickTransferConfig quickTransfer;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;   // served by GET_FILE
  std::vector<uint8_t> peiParam;   // the BMC_PEI_PARAM bytes answered to GET_PEI_PARAM
  BmcVolatileSlots volatileSlots;  // written into video memory before each boot
};

class Bmc {
public:
  using Handler = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& request)>;

  Bmc(BmcConfig config, EventLog& events, VirtualClock& clock) : config_(config), events_(events), clock_(clock) {}
  bool present() const { return config_.present; }
  void setPresent(bool present) { config_.present = present; }
  void handle(uint8_t netFn, uint8_t command, Handler handler) { handlers_[{netFn, command}] = std::move(handler); }
  // The handler registered for (netFn, command), empty if none (to chain sub-commands).
  Handler handlerFor(uint8_t netFn, uint8_t command) const {
    auto it = handlers_.find({netFn, command});
    return it == handlers_.end() ? Handler{} : it->second;
  }

  // nullopt: no BMC answered (absent).
  std::optional<std::vector<uint8_t>> request(uint8_t netFn, uint8_t lun, uint8_t command,
                                              const std::vector<uint8_t>& data);
  EventLog& events() { return events_; }
  const BmcConfig& config() const { return config_; }
  BmcConfig& config() { return config_; }

  // Files the firmware pushed, in arrival order.
  struct ReceivedFile {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<ReceivedFile>& receivedFiles() { return received_; }
  const std::vector<ReceivedFile>& receivedFiles() const { return received_; }

private:
  BmcConfig config_;
  EventLog& events_;
  VirtualClock& clock_;
  std::map<std::pair<uint8_t, uint8_t>, Handler> handlers_;
  std::vector<ReceivedFile> received_;
};

}  // namespace zub
