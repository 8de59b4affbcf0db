#include "PostPorts.h"

namespace zub {

PostPorts::PostPorts(Machine& machine) {
  machine.ports.map(0x80, 0x80, this);
  machine.ports.map(0x84, 0x85, this);
}

uint8_t PostPorts::last(uint16_t port) const { return isPostPort(port) ? latched_[port - kFirst] : 0xFF; }

uint32_t PostPorts::ioRead(uint16_t port, unsigned bytes) {
  uint32_t value = 0;
  for (unsigned i = 0; i < bytes; ++i) value |= uint32_t(last(uint16_t(port + i))) << (8 * i);
  return value;
}

void PostPorts::ioWrite(uint16_t port, unsigned bytes, uint32_t value) {
  for (unsigned i = 0; i < bytes; ++i) {
    auto p = uint16_t(port + i);
    if (!isPostPort(p)) continue;
    auto b = uint8_t(value >> (8 * i));
    latched_[p - kFirst] = b;
    if (observer_) observer_(p, b);
  }
}

}  // namespace zub
