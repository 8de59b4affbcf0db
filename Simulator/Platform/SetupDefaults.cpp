#include "SetupDefaults.h"

#include <algorithm>

namespace zub {

const std::vector<SetupVariableSize>& setupDefaultVariables() {
  static const std::vector<SetupVariableSize> table = {
      {"ZubCustomInfo", 8},
      {"Setup", 263},
      {"ZubSmbiosConfig", 8},
      {"ZubMiscCfg", 11},
      {"ZubSecurityCfg", 2},
      {"ZubSocketSetup", 1},
      {"ZubPlatformSetup", 4},
      {"ZubBootConfiguration", 6},
      {"ZubMediaBootOrder", 15},
      {"NetworkStackVar", 9},
      {"ZubNetworkSetup", 75},
      {"ServerSetup", 39},
      {"SocketIioConfig", 8211},
      {"UsbSupport", 49},
      {"SecureBootSetup", 7},
      {"SocketCommonRcConfig", 59},
      {"SocketMpLinkConfig", 171},
      {"SocketMemoryConfig", 741},
      {"SocketPowerManagementConfig", 463},
      {"SocketProcessorCoreConfig", 335},
      {"IntelSetup", 671},
      {"PchSetup", 1275},
      {"MeRcConfiguration", 87},
      {"FixedBootPriorities", 66},
  };
  return table;
}

std::vector<NvarRecord> setupDefaultRecords(const SetupDefaultsOptions& o) {
  std::vector<NvarRecord> records;
  for (const auto& v : setupDefaultVariables()) {
    if (std::find(o.omit.begin(), o.omit.end(), v.name) != o.omit.end()) continue;
    NvarRecord r;
    r.name = v.name;
    r.guidIndex = 1;
    r.data.assign(v.size, o.fill);
    if (r.name == "ZubCustomInfo") {
      std::fill(r.data.begin(), r.data.end(), 0);
      r.data[0] = o.identity.oemFlag, r.data[1] = o.identity.customId, r.data[2] = o.identity.hwType;
    }
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace zub
