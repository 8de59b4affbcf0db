// WarnLogCheckPei's walk of the reference code's enhanced warning log: the used size and
// the entries in the host data, checked at the check points the input names, with the
// console and the relay on the board. Input: the used size (32 bits), a mask of the seven
// check points, then the log area's bytes. One boot to its end per input.
#include <RefCode/RcSysHost.h>

#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub;
  using namespace zub::fuzz;
  static const char* const kChecks[] = {"[Memory error check]", "[UPI error check]", "[CPU error check]",
                                        "[IIO error check]",    "[SPS error check]", "[IE error check]",
                                        "[AWR error check]"};
  static const BoardConfig base = boardOf({"IpmiRelayPei", "VgaDecodePei", "TextConsolePei", "WarnLogCheckPei"});
  FuzzInput in(data, size);
  uint32_t used = in.u32();
  uint8_t checks = in.u8();
  std::vector<uint8_t> log = in.bytes(RC_SYSHOST_EWL_AREA_END_OFFSET - RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET);

  BoardConfig b = base;
  for (int i = 0; i < 7; ++i) {
    if (!(checks & (1u << i))) continue;
    TimelineStep step{TimelineStep::Kind::StatusCode};
    step.codeValue = 0x03020008;
    step.payload.assign(kChecks[i], kChecks[i] + std::strlen(kChecks[i]) + 1);
    b.timeline.push_back(step);
  }
  BootSession boot(b, PersistentState{});
  std::vector<uint8_t>& host = boot.referenceCode().sysHost();
  storeLe(host.data() + RC_SYSHOST_EWL_USED_SIZE_OFFSET, 4, used);
  std::copy(log.begin(), log.end(), host.begin() + RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET);
  boot.run();
  return 0;
}
