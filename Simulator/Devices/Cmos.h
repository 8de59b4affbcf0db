// Battery-backed CMOS: the standard bank at ports 0x70 (index) / 0x71 (data) and the
// upper bank at 0x72 / 0x73, 256 bytes in all, with the MC146818 clock (Rtc) at indices
// 0x00-0x0D and the century byte 0x32 of the standard bank.
//
// - Port 0x70: bits 6:0 select the byte, bit 7 is the NMI-disable bit, kept apart
//   (nmiDisabled()). The real port is write-only; here a read returns the last value
//   written (index and NMI bit), which lets the board show the NMI state.
// - Port 0x72: bits 6:0 select upper byte 0x80 + index (bit 7 is ignored), so index
//   0x54 is CMOS byte 0xD4. A read returns the last value written.
// - Wider accesses are split into bytes on consecutive ports (outw 0x70 writes the
//   index and the data in one go, as on the chip).
// - Persistence: save() gives 264 bytes: the 256-byte image (clock registers as they
//   read at the moment of saving, A and B included) followed by the wall time as a
//   little-endian int64 of nanoseconds since 1970. load() of such a state replaces the
//   configured bytes, modes and time: the clock continues from the saved wall time plus
//   the virtual time elapsed after the load. Register D always comes from the board
//   configuration (it reports the battery, not stored data).
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include <Machine/Machine.h>

#include "Rtc.h"

namespace zub {

struct CmosConfig {
  int64_t startTime = 1'704'067'200;   // seconds since 1970, UTC (2024-01-01 00:00:00)
  bool binary = false;                 // register B DM: binary instead of BCD
  bool hour24 = true;                  // register B 24/12
  uint8_t registerD = rtc::kDVrt;      // 0x00 models an invalid RAM and time
  std::map<uint8_t, uint8_t> bytes;    // initial RAM by CMOS index (0x80-0xFF: upper bank)
};

class Cmos : public PortDevice {
public:
  static constexpr uint16_t kIndexPort = 0x70, kDataPort = 0x71, kUpperIndexPort = 0x72, kUpperDataPort = 0x73;
  static constexpr uint8_t kNmiDisable = 0x80;
  static constexpr size_t kSize = 256;
  static constexpr size_t kStateSize = kSize + 8;

  Cmos(Machine& machine, const CmosConfig& config);

  uint32_t ioRead(uint16_t port, unsigned bytes) override;
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value) override;

  // Board-side access by absolute CMOS index (the upper bank at 0x80-0xFF).
  uint8_t byte(uint8_t index);
  void setByte(uint8_t index, uint8_t value);
  std::array<uint8_t, kSize> image();   // clock registers as they read now

  bool nmiDisabled() const { return indexPort_ & kNmiDisable; }
  Rtc& rtc() { return rtc_; }

  std::vector<uint8_t> save();
  // Returns false (and changes nothing) when the state has the wrong size.
  bool load(std::span<const uint8_t> state);

private:
  uint8_t readPort(uint16_t port);
  void writePort(uint16_t port, uint8_t value);

  Rtc rtc_;
  std::array<uint8_t, kSize> ram_{};
  uint8_t indexPort_ = 0, upperIndexPort_ = 0;
};

}  // namespace zub
