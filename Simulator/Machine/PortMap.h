// The port-I/O map: ranges of ports decoded by devices. Unclaimed ports float (reads
// return all ones, writes are dropped).
#pragma once
#include <cstdint>
#include <vector>

namespace zub {

class PortDevice {
public:
  virtual ~PortDevice() = default;
  virtual uint32_t ioRead(uint16_t port, unsigned bytes) = 0;
  virtual void ioWrite(uint16_t port, unsigned bytes, uint32_t value) = 0;
};

class PortMap {
public:
  // Later mappings take precedence over earlier ones on overlap.
  void map(uint16_t first, uint16_t last, PortDevice* device);
  // Removes every range of a device (a decoder whose base is programmable moves this way).
  void unmap(PortDevice* device);
  PortDevice* find(uint16_t port) const;

private:
  struct Range {
    uint16_t first, last;
    PortDevice* device;
  };
  std::vector<Range> ranges_;
};

}  // namespace zub
