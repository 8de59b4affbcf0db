// The platform's debug print service: formats with the firmware's own print library and
// writes the text to the debug log. It applies no mask of its own. Further sinks (the
// debug-log window in video memory) can be added.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <PiPei.h>
#include <Ppi/DebugService.h>

namespace zub {

class DebugService {
public:
  DebugService();
  const DEBUG_SERVICE_PPI* ppi() const { return &ppi_; }
  const std::string& log() const { return log_; }
  void write(const std::string& text);
  void addSink(std::function<void(const std::string&)> sink) { sinks_.push_back(std::move(sink)); }
  size_t assertions() const { return assertions_; }
  static DebugService* current;

private:
  DEBUG_SERVICE_PPI ppi_{};
  std::string log_;
  size_t assertions_ = 0;
  std::vector<std::function<void(const std::string&)>> sinks_;
};

}  // namespace zub
