#include "PciTopology.h"

#include "PciBridge.h"
#include "PciEndpoint.h"
#include "PciHierarchy.h"

namespace zub {

namespace {
std::unique_ptr<PciFunction> make(const PciNodeConfig& node, const PciModelFactories& factories) {
  if (auto it = factories.find(node.model); !node.model.empty() && it != factories.end()) return it->second(node);
  if (node.bridge || !node.children.empty()) {
    auto b = std::make_unique<PciBridge>(node.identity);
    for (unsigned i = 0; i < node.barSizes.size(); ++i) b->defineMemoryBar(i, node.barSizes[i]);
    return b;
  }
  return std::make_unique<PciEndpoint>(node.identity, node.barSizes);
}
}  // namespace

void buildPciTopology(PciHierarchy& pci, PciBus& bus, const std::vector<PciNodeConfig>& nodes,
                      const PciModelFactories& factories) {
  for (const PciNodeConfig& node : nodes) {
    std::unique_ptr<PciFunction> f = make(node, factories);
    PciBridge* b = f->bridge();
    pci.adopt(bus, node.device, node.function, std::move(f));
    if (b) buildPciTopology(pci, b->secondary(), node.children, factories);
  }
}

}  // namespace zub
