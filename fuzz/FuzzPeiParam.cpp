// ReportPushPei's fetch of the BMC's PEI parameter block: the answer to the GET_PEI_PARAM
// command (and to the reports pushed after it) published as PCDs. Input: the seal byte
// (see sealAnswer), then the answer area. A fresh boot per input: the fetch runs once, on
// the installation of the quick-transfer PPI.
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub::fuzz;
  static const zub::BoardConfig board = boardOf({"IpmiRelayPei", "ReportPushPei", "VramLinkPei"});
  FuzzInput in(data, size);
  LinkedBoot b(board);
  b.answers.seal = in.u8();
  b.answers.answer = in.rest();
  b.start();
  b.dispatchAll();
  // The published texts are read back as later firmware reads them.
  for (uint32_t token : {PcdZubBmcDedicatedIpv4_TOKEN, PcdZubBmcDedicatedIpv6_TOKEN, PcdZubBmcShareIpv4_TOKEN,
                         PcdZubBmcShareIpv6_TOKEN})
    b.boot.platform().pcd.text(token);
  return 0;
}
