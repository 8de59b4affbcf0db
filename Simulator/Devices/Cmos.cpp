#include "Cmos.h"

#include <algorithm>

namespace zub {

namespace {
uint8_t registerBFor(const CmosConfig& c) {
  return uint8_t((c.binary ? rtc::kBBinary : 0) | (c.hour24 ? rtc::kB24Hour : 0));
}
}  // namespace

Cmos::Cmos(Machine& machine, const CmosConfig& config)
    : rtc_(machine.clock, config.startTime, registerBFor(config), config.registerD) {
  for (auto [index, value] : config.bytes)
    if (!Rtc::isClockRegister(index)) ram_[index] = value;
  machine.ports.map(kIndexPort, kUpperDataPort, this);
}

uint8_t Cmos::byte(uint8_t index) { return Rtc::isClockRegister(index) ? rtc_.read(index) : ram_[index]; }

void Cmos::setByte(uint8_t index, uint8_t value) {
  if (Rtc::isClockRegister(index))
    rtc_.write(index, value);
  else
    ram_[index] = value;
}

uint8_t Cmos::readPort(uint16_t port) {
  switch (port) {
    case kIndexPort: return indexPort_;
    case kDataPort: return byte(indexPort_ & 0x7F);
    case kUpperIndexPort: return upperIndexPort_;
    case kUpperDataPort: return ram_[0x80 | (upperIndexPort_ & 0x7F)];
  }
  return 0xFF;
}

void Cmos::writePort(uint16_t port, uint8_t value) {
  switch (port) {
    case kIndexPort: indexPort_ = value; break;
    case kDataPort: setByte(indexPort_ & 0x7F, value); break;
    case kUpperIndexPort: upperIndexPort_ = value; break;
    case kUpperDataPort: ram_[0x80 | (upperIndexPort_ & 0x7F)] = value; break;
  }
}

uint32_t Cmos::ioRead(uint16_t port, unsigned bytes) {
  uint32_t value = 0;
  for (unsigned i = 0; i < bytes; ++i) value |= uint32_t(readPort(uint16_t(port + i))) << (8 * i);
  return value;
}

void Cmos::ioWrite(uint16_t port, unsigned bytes, uint32_t value) {
  for (unsigned i = 0; i < bytes; ++i) writePort(uint16_t(port + i), uint8_t(value >> (8 * i)));
}

std::array<uint8_t, Cmos::kSize> Cmos::image() {
  std::array<uint8_t, kSize> out = ram_;
  rtc_.storeRegisters(out);
  return out;
}

std::vector<uint8_t> Cmos::save() {
  std::array<uint8_t, kSize> img = image();
  std::vector<uint8_t> state(img.begin(), img.end());
  state.resize(kStateSize);
  storeLe(state.data() + kSize, 8, uint64_t(rtc_.wallTimeNs()));
  return state;
}

bool Cmos::load(std::span<const uint8_t> state) {
  if (state.size() != kStateSize) return false;
  std::copy(state.begin(), state.begin() + kSize, ram_.begin());
  rtc_.restore(ram_, int64_t(loadLe(state.data() + kSize, 8)));
  return true;
}

}  // namespace zub
