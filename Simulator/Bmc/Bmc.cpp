#include "Bmc.h"

namespace zub {

std::optional<std::vector<uint8_t>> Bmc::request(uint8_t netFn, uint8_t lun, uint8_t command,
                                                 const std::vector<uint8_t>& data) {
  nlohmann::json e = {{"netfn", hex8(netFn)}, {"lun", lun}, {"cmd", hex8(command)},
                      {"data", hexString(data.data(), data.size())}};
  events_.add("ipmi_request", e);
  if (!config_.present) {
    events_.add("ipmi_response", {{"answered", false}});
    return std::nullopt;
  }
  clock_.advance(config_.responseDelayNs);
  auto it = handlers_.find({netFn, command});
  std::vector<uint8_t> answer = it != handlers_.end() ? it->second(data) : std::vector<uint8_t>{0xC1};
  events_.add("ipmi_response", {{"cc", hex8(answer.empty() ? 0xFF : answer[0])},
                                {"data", hexString(answer.data() + (answer.empty() ? 0 : 1),
                                                   answer.empty() ? 0 : answer.size() - 1)}});
  return answer;
}

}  // namespace zub
