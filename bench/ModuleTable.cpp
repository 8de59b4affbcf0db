#include "ModuleTable.h"

#include <cstdio>
#include <ostream>

namespace zub::bench {

void printModuleTable(const nlohmann::json& summary, std::ostream& out) {
  char line[160];
  std::snprintf(line, sizeof line, "%-20s %12s %10s %10s %10s %10s %8s\n", "module", "virtual ms", "port rd",
                "port wr", "mmio rd", "mmio wr", "maps");
  out << "\nDefault boot, per module (summary.json; virtual time " << summary.value("virtual_time_ns", uint64_t(0)) / 1e6
      << " ms in all)\n" << line;
  for (const auto& m : summary["modules"]) {
    auto n = [&](const char* key) { return m.value(key, uint64_t(0)); };
    std::snprintf(line, sizeof line, "%-20s %12.3f %10llu %10llu %10llu %10llu %8llu\n",
                  m.value("name", std::string()).c_str(), n("virtual_ns") / 1e6, (unsigned long long)n("port_reads"),
                  (unsigned long long)n("port_writes"), (unsigned long long)n("mmio_reads"),
                  (unsigned long long)n("mmio_writes"), (unsigned long long)n("maps"));
    out << line;
  }
}

}  // namespace zub::bench
