// events.jsonl: one JSON object per externally visible event, stamped with virtual time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "VirtualClock.h"

namespace zub {

class EventLog {
public:
  explicit EventLog(const VirtualClock& clock) : clock_(clock) {}
  // Adds {"t_ns": now, "event": type, ...fields}.
  void add(const std::string& type, nlohmann::json fields = nlohmann::json::object());
  const std::vector<nlohmann::json>& events() const { return events_; }
  std::vector<nlohmann::json> ofType(const std::string& type) const;
  std::string toJsonLines() const;

private:
  const VirtualClock& clock_;
  std::vector<nlohmann::json> events_;
};

std::string hexString(const uint8_t* data, size_t size);
std::string hex32(uint64_t value);   // "0x%08X"
std::string hex8(uint64_t value);    // "0x%02X"

}  // namespace zub
