// The MC146818 real-time clock behind the CMOS index ports: time, alarm and status
// registers 0x00-0x0D and the century byte 0x32.
//
// The clock keeps wall time as nanoseconds since 1970 (UTC, no time zones) anchored to
// the machine's virtual clock, and encodes the registers from it on every read, so it
// never drifts and never reads the host clock.
// - Register A: bit 7 UIP reads 1 during the 244 us before each second's update (on
//   virtual time); bits 6:0 (divider, rate) are kept but the oscillator always runs.
// - Register B: bit 7 SET freezes the registers; writes then go to the frozen copy and,
//   when SET is cleared, the written time is taken over and the next update comes one
//   second later. Writes to a time register while running take effect at once (the
//   divider phase continues). DM (bit 2) and 24/12 (bit 1) select the encoding of every
//   later read; unlike the real chip the clock re-encodes on a mode change, so software
//   that changes the mode without rewriting the time still reads a valid time. Setting
//   SET clears UIE, as on the chip. DSE (daylight saving) is kept and has no effect.
// - Register C: UF (bit 4) reports that an update happened since C was last read, IRQF
//   (bit 7) is UF && UIE; reading C clears it. Alarm and periodic flags are not modelled
//   (no interrupts are wired); the alarm registers are plain storage.
// - Register D: read-only; bit 7 VRT comes from the board (0 models a dead battery).
// - Values software writes are decoded field by field and normalised by calendar
//   arithmetic (timegm); the day of week is free-running like the chip's: a written
//   value is kept as an offset to the true weekday.
#pragma once
#include <array>
#include <cstdint>

#include <Machine/VirtualClock.h>

namespace zub {

namespace rtc {
inline constexpr uint8_t kSeconds = 0x00, kMinutes = 0x02, kHours = 0x04, kDayOfWeek = 0x06,
                         kDayOfMonth = 0x07, kMonth = 0x08, kYear = 0x09;
inline constexpr uint8_t kRegisterA = 0x0A, kRegisterB = 0x0B, kRegisterC = 0x0C, kRegisterD = 0x0D;
inline constexpr uint8_t kCentury = 0x32;
inline constexpr uint8_t kAUip = 0x80;
inline constexpr uint8_t kBSet = 0x80, kBUie = 0x10, kBBinary = 0x04, kB24Hour = 0x02;
inline constexpr uint8_t kCIrqf = 0x80, kCUf = 0x10;
inline constexpr uint8_t kDVrt = 0x80;
inline constexpr uint8_t kHoursPm = 0x80;
inline constexpr uint64_t kUipWindowNs = 244'000;
inline constexpr int64_t kNsPerSecond = 1'000'000'000;
}  // namespace rtc

class Rtc {
public:
  Rtc(const VirtualClock& clock, int64_t startSeconds, uint8_t registerB, uint8_t registerD);

  static bool isClockRegister(uint8_t index) { return index <= rtc::kRegisterD || index == rtc::kCentury; }
  uint8_t read(uint8_t index);
  void write(uint8_t index, uint8_t value);

  // Wall time (ns since 1970, UTC) as the registers show it; frozen while SET is on.
  int64_t wallTimeNs() const;
  static int64_t wallNsOf(int64_t seconds);
  // Moves the clock to a wall time; the sub-second phase is taken from it.
  void setWallTimeNs(int64_t wallNs);
  void setRegisterD(uint8_t value) { registerD_ = value; }

  // The battery-backed registers as one 256-byte CMOS image sees them (0x00-0x0D, 0x32),
  // and their restoration together with a wall time.
  void storeRegisters(std::array<uint8_t, 256>& image);
  void restore(const std::array<uint8_t, 256>& image, int64_t wallNs);

private:
  // Time and century registers in index order 0x00-0x09, then the century.
  using TimeRegisters = std::array<uint8_t, 11>;
  static constexpr unsigned kCenturySlot = 10;

  bool halted() const { return registerB_ & rtc::kBSet; }
  uint64_t phaseNs() const;   // position inside the current second
  TimeRegisters encode(int64_t seconds, uint8_t registerB) const;
  int64_t decode(const TimeRegisters& regs, uint8_t registerB, int* dayOfWeekOffset) const;
  void writeTime(uint8_t index, uint8_t value);
  void writeRegisterB(uint8_t value);
  static unsigned slotOf(uint8_t index) { return index == rtc::kCentury ? kCenturySlot : index; }

  const VirtualClock& clock_;
  int64_t anchorWallNs_ = 0;    // wall time at anchorClockNs_
  uint64_t anchorClockNs_ = 0;
  TimeRegisters frozen_{};      // the registers while SET is on
  int64_t frozenWallNs_ = 0;
  std::array<uint8_t, 3> alarms_{};   // 0x01, 0x03, 0x05
  int dayOfWeekOffset_ = 0;
  uint8_t registerA_ = 0x26, registerB_ = 0, registerD_ = 0;
  int64_t lastUpdateSeenSecond_ = 0;  // for UF
};

}  // namespace zub
