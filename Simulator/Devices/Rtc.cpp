#include "Rtc.h"

#include <ctime>

namespace zub {

namespace {

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t floorMod(int64_t a, int64_t b) { return a - floorDiv(a, b) * b; }

uint8_t toBcd(unsigned v) { return uint8_t(((v / 10) << 4) | (v % 10)); }
unsigned fromBcd(uint8_t v) { return (v >> 4) * 10 + (v & 0x0F); }

bool isAlarm(uint8_t index) { return index == 0x01 || index == 0x03 || index == 0x05; }

}  // namespace

Rtc::Rtc(const VirtualClock& clock, int64_t startSeconds, uint8_t registerB, uint8_t registerD)
    : clock_(clock), registerB_(registerB & ~rtc::kBSet), registerD_(registerD) {
  setWallTimeNs(startSeconds * rtc::kNsPerSecond);
}

// Nanoseconds of a decoded time. Software may write any register value, and a transient
// one (a century probe writing 0x00) decodes to a time outside the ±292 years the
// nanosecond count holds: the product wraps modulo 2^64, as a hardware counter would, so
// that restoring the register restores the time.
int64_t Rtc::wallNsOf(int64_t seconds) {
  return int64_t(uint64_t(seconds) * uint64_t(rtc::kNsPerSecond));
}

int64_t Rtc::wallTimeNs() const {
  if (halted()) return frozenWallNs_;
  return int64_t(uint64_t(anchorWallNs_) + (clock_.nowNs() - anchorClockNs_));
}

void Rtc::setWallTimeNs(int64_t wallNs) {
  anchorWallNs_ = wallNs;
  anchorClockNs_ = clock_.nowNs();
  lastUpdateSeenSecond_ = floorDiv(wallNs, rtc::kNsPerSecond);
  if (halted()) {
    frozenWallNs_ = wallNs;
    frozen_ = encode(lastUpdateSeenSecond_, registerB_);
  }
}

uint64_t Rtc::phaseNs() const { return uint64_t(floorMod(wallTimeNs(), rtc::kNsPerSecond)); }

Rtc::TimeRegisters Rtc::encode(int64_t seconds, uint8_t registerB) const {
  time_t t = time_t(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  bool binary = registerB & rtc::kBBinary;
  auto field = [binary](unsigned v) { return binary ? uint8_t(v) : toBcd(v); };

  uint8_t hours;
  if (registerB & rtc::kB24Hour) {
    hours = field(unsigned(tm.tm_hour));
  } else {
    unsigned h12 = tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12;
    hours = uint8_t(field(h12) | (tm.tm_hour >= 12 ? rtc::kHoursPm : 0));
  }
  unsigned year = unsigned(tm.tm_year + 1900);
  TimeRegisters r{};
  r[rtc::kSeconds] = field(unsigned(tm.tm_sec));
  r[rtc::kMinutes] = field(unsigned(tm.tm_min));
  r[rtc::kHours] = hours;
  r[rtc::kDayOfWeek] = field(unsigned((tm.tm_wday + dayOfWeekOffset_) % 7 + 1));
  r[rtc::kDayOfMonth] = field(unsigned(tm.tm_mday));
  r[rtc::kMonth] = field(unsigned(tm.tm_mon + 1));
  r[rtc::kYear] = field(year % 100);
  r[kCenturySlot] = field(year / 100);
  return r;
}

int64_t Rtc::decode(const TimeRegisters& regs, uint8_t registerB, int* dayOfWeekOffset) const {
  bool binary = registerB & rtc::kBBinary;
  auto field = [binary](uint8_t v) { return int(binary ? v : fromBcd(v)); };

  int hour;
  uint8_t rawHours = regs[rtc::kHours];
  if (registerB & rtc::kB24Hour)
    hour = field(rawHours);
  else
    hour = field(rawHours & ~rtc::kHoursPm) % 12 + (rawHours & rtc::kHoursPm ? 12 : 0);

  std::tm tm{};
  tm.tm_sec = field(regs[rtc::kSeconds]);
  tm.tm_min = field(regs[rtc::kMinutes]);
  tm.tm_hour = hour;
  tm.tm_mday = field(regs[rtc::kDayOfMonth]);
  tm.tm_mon = field(regs[rtc::kMonth]) - 1;
  tm.tm_year = field(regs[kCenturySlot]) * 100 + field(regs[rtc::kYear]) - 1900;
  time_t t = timegm(&tm);   // normalises out-of-range fields; sets tm_wday

  *dayOfWeekOffset = int(floorMod(field(regs[rtc::kDayOfWeek]) - 1 - tm.tm_wday, 7));
  return int64_t(t);
}

uint8_t Rtc::read(uint8_t index) {
  if (isAlarm(index)) return alarms_[index / 2];
  switch (index) {
    case rtc::kRegisterA: {
      bool uip = !halted() && phaseNs() >= uint64_t(rtc::kNsPerSecond) - rtc::kUipWindowNs;
      return registerA_ | (uip ? rtc::kAUip : 0);
    }
    case rtc::kRegisterB: return registerB_;
    case rtc::kRegisterC: {
      if (halted()) return 0;
      int64_t second = floorDiv(wallTimeNs(), rtc::kNsPerSecond);
      bool updated = second != lastUpdateSeenSecond_;
      lastUpdateSeenSecond_ = second;
      if (!updated) return 0;
      return rtc::kCUf | (registerB_ & rtc::kBUie ? rtc::kCIrqf : 0);
    }
    case rtc::kRegisterD: return registerD_;
  }
  if (!isClockRegister(index)) return 0xFF;
  if (halted()) return frozen_[slotOf(index)];
  return encode(floorDiv(wallTimeNs(), rtc::kNsPerSecond), registerB_)[slotOf(index)];
}

void Rtc::write(uint8_t index, uint8_t value) {
  if (isAlarm(index)) {
    alarms_[index / 2] = value;
    return;
  }
  switch (index) {
    case rtc::kRegisterA: registerA_ = value & ~rtc::kAUip; return;
    case rtc::kRegisterB: writeRegisterB(value); return;
    case rtc::kRegisterC:
    case rtc::kRegisterD: return;   // read-only
  }
  if (isClockRegister(index)) writeTime(index, value);
}

void Rtc::writeTime(uint8_t index, uint8_t value) {
  if (halted()) {
    frozen_[slotOf(index)] = value;
    return;
  }
  uint64_t phase = phaseNs();
  TimeRegisters regs = encode(floorDiv(wallTimeNs(), rtc::kNsPerSecond), registerB_);
  regs[slotOf(index)] = value;
  int64_t seconds = decode(regs, registerB_, &dayOfWeekOffset_);
  anchorWallNs_ = int64_t(uint64_t(wallNsOf(seconds)) + phase);
  anchorClockNs_ = clock_.nowNs();
  lastUpdateSeenSecond_ = seconds;
}

void Rtc::writeRegisterB(uint8_t value) {
  bool wasHalted = halted();
  bool halt = value & rtc::kBSet;
  if (halt) value &= ~rtc::kBUie;
  if (!wasHalted && halt) {
    // The registers stop in the encoding they had before this write.
    frozenWallNs_ = wallTimeNs();
    frozen_ = encode(floorDiv(frozenWallNs_, rtc::kNsPerSecond), registerB_);
  }
  registerB_ = value;
  if (wasHalted && !halt) {
    int64_t seconds = decode(frozen_, registerB_, &dayOfWeekOffset_);
    anchorWallNs_ = wallNsOf(seconds);
    anchorClockNs_ = clock_.nowNs();
    lastUpdateSeenSecond_ = seconds;
  }
}

void Rtc::storeRegisters(std::array<uint8_t, 256>& image) {
  TimeRegisters regs = halted() ? frozen_ : encode(floorDiv(wallTimeNs(), rtc::kNsPerSecond), registerB_);
  for (uint8_t i = 0; i <= rtc::kYear; ++i) image[i] = isAlarm(i) ? alarms_[i / 2] : regs[i];
  image[rtc::kCentury] = regs[kCenturySlot];
  image[rtc::kRegisterA] = registerA_;
  image[rtc::kRegisterB] = registerB_;
  image[rtc::kRegisterC] = 0;
  image[rtc::kRegisterD] = registerD_;
}

void Rtc::restore(const std::array<uint8_t, 256>& image, int64_t wallNs) {
  registerA_ = image[rtc::kRegisterA] & ~rtc::kAUip;
  registerB_ = image[rtc::kRegisterB];
  for (uint8_t i : {0x01, 0x03, 0x05}) alarms_[i / 2] = image[i];

  TimeRegisters saved{};
  for (uint8_t i = 0; i <= rtc::kYear; ++i) saved[i] = image[i];
  saved[kCenturySlot] = image[rtc::kCentury];
  // The weekday offset is whatever the saved weekday register says relative to the date.
  time_t t = time_t(floorDiv(wallNs, rtc::kNsPerSecond));
  std::tm tm{};
  gmtime_r(&t, &tm);
  bool binary = registerB_ & rtc::kBBinary;
  int savedDay = binary ? saved[rtc::kDayOfWeek] : int(fromBcd(saved[rtc::kDayOfWeek]));
  dayOfWeekOffset_ = int(floorMod(savedDay - 1 - tm.tm_wday, 7));

  anchorWallNs_ = wallNs;
  anchorClockNs_ = clock_.nowNs();
  lastUpdateSeenSecond_ = floorDiv(wallNs, rtc::kNsPerSecond);
  if (halted()) {
    frozen_ = saved;
    frozenWallNs_ = wallNs;
  }
}

}  // namespace zub
