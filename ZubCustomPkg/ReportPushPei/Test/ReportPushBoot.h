// A boot with the relay, the quick-transfer module and ReportPushPei on the board's BMC.
#pragma once
#include "Bmc/TestSupport/QuickTransferBoard.h"

namespace zub::test {

inline const std::vector<std::string> kReportModules = {"IpmiRelayPei", "ReportPushPei", "VramLinkPei"};

struct ReportPushBoot : QuickTransferBoot {
  explicit ReportPushBoot(const nlohmann::json& changes) : QuickTransferBoot(boardWith(changes), kReportModules) {}
  std::string pcdText(uint32_t token) { return boot.platform().pcd.text(token); }
  uint64_t pcdNumber(uint32_t token) { return boot.platform().pcd.number(token); }
};

}  // namespace zub::test
