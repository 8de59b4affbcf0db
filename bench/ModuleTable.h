// The per-module figures of a boot's summary.json: virtual PEI time and bus accesses.
#pragma once
#include <iosfwd>

#include <nlohmann/json.hpp>

namespace zub::bench {

void printModuleTable(const nlohmann::json& summary, std::ostream& out);

}  // namespace zub::bench
