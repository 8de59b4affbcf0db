// The BMC's side of the quick-transfer channel. On the trigger (NetFn 0x36, command 0x04,
// 5B 4E 00 20) it reads the request area at the top of video memory, checks the header
// CRC, signature and data CRC, executes the command and writes its answer, with CRCs,
// into the answer area before the IPMI answer returns. The request is untrusted: nothing
// is read or written outside the two areas.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "Bmc.h"

namespace zub {

class MemoryMap;

struct VideoAperture {
  uint64_t base = 0;
  uint64_t size = 0;
};

class QuickTransferResponder {
public:
  using ApertureSource = std::function<VideoAperture()>;
  QuickTransferResponder(Bmc& bmc, const MemoryMap& memory, ApertureSource aperture);
  // Registers the trigger handler with the BMC (unless the board turns the channel off).
  void install();

  static constexpr uint8_t kNetFn = 0x36, kCommand = 0x04;

private:
  std::vector<uint8_t> onTrigger(const std::vector<uint8_t>& request);

  Bmc& bmc_;
  const MemoryMap& memory_;
  ApertureSource aperture_;
  uint32_t triggers_ = 0;
  Bmc::Handler otherSubCommands_;   // the OEM command 0x04 carries other sub-commands too
};

}  // namespace zub
