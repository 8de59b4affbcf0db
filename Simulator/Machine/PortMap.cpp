#include "PortMap.h"

namespace zub {

void PortMap::map(uint16_t first, uint16_t last, PortDevice* device) {
  ranges_.push_back({first, last, device});
}

void PortMap::unmap(PortDevice* device) {
  std::erase_if(ranges_, [device](const Range& r) { return r.device == device; });
}

PortDevice* PortMap::find(uint16_t port) const {
  for (auto it = ranges_.rbegin(); it != ranges_.rend(); ++it)
    if (port >= it->first && port <= it->last) return it->device;
  return nullptr;
}

}  // namespace zub
