// POST code ports 0x80, 0x84 and 0x85. Each latches the last byte written to it (a read
// returns it, as the PCH's shadow does); an observer sees every byte written, per port,
// for the event log. A wider write covers consecutive ports; bytes that land on
// ports other than these three are dropped.
#pragma once
#include <cstdint>
#include <functional>

#include <Machine/Machine.h>

namespace zub {

class PostPorts : public PortDevice {
public:
  using Observer = std::function<void(uint16_t port, uint8_t value)>;

  explicit PostPorts(Machine& machine);

  uint8_t last(uint16_t port) const;
  void setObserver(Observer observer) { observer_ = std::move(observer); }

  uint32_t ioRead(uint16_t port, unsigned bytes) override;
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value) override;

private:
  static constexpr uint16_t kFirst = 0x80, kLast = 0x85;
  static bool isPostPort(uint16_t port) { return port == 0x80 || port == 0x84 || port == 0x85; }

  uint8_t latched_[kLast - kFirst + 1]{};
  Observer observer_;
};

}  // namespace zub
