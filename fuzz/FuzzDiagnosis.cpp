// FaultIsolatePei's diagnosis entry: the CMOS record, the clock and the rest of the
// standard CMOS bank left by earlier boots and other firmware, and the CPLD's request and
// slot registers the BMC sets. Input: the seven record bytes (0x73-0x79), the request
// register, the 32 slot registers, the clock (epoch, mode flags, register D), then CMOS
// bytes from 0x0E upwards (the record's bytes skipped). One boot to its end per input.
#include "Devices/Cpld.h"
#include "FuzzBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub;
  using namespace zub::fuzz;
  static const BoardConfig base = boardOf({"IpmiRelayPei", "FaultIsolatePei"});
  FuzzInput in(data, size);
  BoardConfig b = base;
  for (uint8_t i = 0x73; i <= 0x79; ++i) b.cmosStandard[i] = in.u8();
  b.cpld.registers[Cpld::kRequest] = in.u8();
  for (uint16_t r = Cpld::kSlotFirst; r <= Cpld::kSlotLast; ++r) b.cpld.registers[r] = in.u8();
  b.rtc.startEpoch = in.u32();
  uint8_t mode = in.u8();
  b.rtc.binary = mode & 1;
  b.rtc.hour24 = mode & 2;
  b.faults.laterFirmware = mode & 4;
  b.rtc.registerD = in.u8();
  for (uint8_t i = 0x0E; i < 0x80 && in.left(); ++i)
    if (i < 0x73 || i > 0x79) b.cmosStandard[i] = in.u8();
  BootSession boot(b, PersistentState{});
  boot.run();
  return 0;
}
