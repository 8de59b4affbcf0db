// The BMC as the firmware sees it through IPMI. Commands are answered by handlers
// registered per (NetFn, command); a request nothing handles gets completion code 0xC1
// (invalid command). Every request and answer is recorded in the event log.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "Machine/EventLog.h"

namespace zub {

struct BmcConfig {
  bool present = true;
  uint64_t responseDelayNs = 0;    // virtual time each answer takes
};

class Bmc {
public:
  using Handler = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& request)>;

  Bmc(BmcConfig config, EventLog& events, VirtualClock& clock) : config_(config), events_(events), clock_(clock) {}
  bool present() const { return config_.present; }
  void setPresent(bool present) { config_.present = present; }
  void handle(uint8_t netFn, uint8_t command, Handler handler) { handlers_[{netFn, command}] = std::move(handler); }

  // nullopt: no BMC answered (absent).
  std::optional<std::vector<uint8_t>> request(uint8_t netFn, uint8_t lun, uint8_t command,
                                              const std::vector<uint8_t>& data);
  EventLog& events() { return events_; }

private:
  BmcConfig config_;
  EventLog& events_;
  VirtualClock& clock_;
  std::map<std::pair<uint8_t, uint8_t>, Handler> handlers_;
};

}  // namespace zub
