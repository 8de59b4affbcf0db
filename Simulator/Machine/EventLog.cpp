#include "EventLog.h"

#include <cstdio>

namespace zub {

void EventLog::add(const std::string& type, nlohmann::json fields) {
  nlohmann::json e = {{"t_ns", clock_.nowNs()}, {"event", type}};
  for (auto& [k, v] : fields.items()) e[k] = std::move(v);
  events_.push_back(std::move(e));
}

std::vector<nlohmann::json> EventLog::ofType(const std::string& type) const {
  std::vector<nlohmann::json> out;
  for (const auto& e : events_)
    if (e["event"] == type) out.push_back(e);
  return out;
}

std::string EventLog::toJsonLines() const {
  std::string out;
  for (const auto& e : events_) out += e.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  return out;
}

std::string hexString(const uint8_t* data, size_t size) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  s.reserve(size * 3);
  for (size_t i = 0; i < size; ++i) {
    if (i) s += ' ';
    s += digits[data[i] >> 4];
    s += digits[data[i] & 15];
  }
  return s;
}

std::string hex32(uint64_t value) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%08llX", static_cast<unsigned long long>(value));
  return b;
}

std::string hex8(uint64_t value) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", static_cast<unsigned>(value & 0xFF));
  return b;
}

}  // namespace zub
