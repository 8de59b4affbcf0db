// The BMC's answers about the next boot: the chassis Get System Boot Options command
// (parameter 0 with set-in-progress and the boot initiator acknowledge byte, parameter 5
// the boot flags), the OEM boot-mode configuration (NetFn 0x36, command 0x0B) and the
// eVORT notification (NetFn 0x36, command 0x09).
#pragma once
#include <cstdint>

namespace zub {

class Bmc;

struct BmcBootOptions {
  unsigned setInProgressPolls = 0;     // parameter 0 answers "set in progress" this many times first
  uint8_t acknowledge = 0;             // boot initiator acknowledge byte (answer byte 4 of parameter 0)
  uint8_t bootFlags[5] = {0, 0, 0, 0, 0};   // parameter 5 data 1-5 (data 1: valid, persistent, UEFI)
  bool oemConfig = true;               // answers the OEM boot-mode request
  uint8_t oemFlag = 0;                 // bit 0: the OEM boot mode may apply
  uint8_t oemBootMode = 2;             // 1 legacy, 2 UEFI
  unsigned evortFailures = 0;          // the eVORT notification fails (busy) this many times first
};

void serveBootOptions(Bmc& bmc, const BmcBootOptions& options);

}  // namespace zub
