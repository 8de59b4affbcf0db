#include "RootComplex.h"

namespace zub {

RootComplex::RootComplex(const RootComplexConfig& config) : PciFunction(config.identity, 0) {
  setConfig(kRootBusConfig, 2, config.rootBusConfig);
  setWritable(kRootBusConfig, 2, kRootBus1Decode);
}

void RootComplex::configWritten(uint16_t offset, unsigned bytes) {
  if (offset < kRootBusConfig + 2 && offset + bytes > kRootBusConfig && onRootBusConfigWrite)
    onRootBusConfigWrite(rootBusConfig());
}

}  // namespace zub
