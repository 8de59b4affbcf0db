// A PCI topology as plain data (what a board file describes) and the builder that turns
// it into functions on a hierarchy. A node with children, or marked as a bridge, is a
// PciBridge; a node naming a model is made by that model's factory (the video device,
// for one); any other node is a generic PciEndpoint with its BAR sizes. A model name
// without a factory falls back to a generic endpoint, so a board can be described
// before every model exists.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PciBus.h"
#include "PciFunction.h"

namespace zub {

class PciHierarchy;

struct PciNodeConfig {
  uint8_t device = 0, function = 0;
  PciIdentity identity;
  std::vector<uint32_t> barSizes;      // memory BARs from BAR0 up; 0 = unimplemented
  std::string model;                   // empty: generic endpoint or bridge
  bool bridge = false;                 // implied by children
  std::vector<PciNodeConfig> children;
};

using PciModelFactory = std::function<std::unique_ptr<PciFunction>(const PciNodeConfig&)>;
using PciModelFactories = std::map<std::string, PciModelFactory>;

void buildPciTopology(PciHierarchy& pci, PciBus& bus, const std::vector<PciNodeConfig>& nodes,
                      const PciModelFactories& factories = {});

}  // namespace zub
