#include "BoardWarningLog.h"

#include "BoardConfig.h"
#include "JsonReader.h"
#include "Outside/WarningLogBuilder.h"

namespace zub {

namespace {

// {"type": 1, "major": "0x0C", "minor": 0, "location": {"socket": 0, "channel": 1, "dimm": 0,
//  "rank": 0}, "detail": "..", "size": N} or {"data": ".."} after the codes, or {"raw": ".."}.
WarningLogEntry parseEntry(JsonReader& e) {
  WarningLogEntry w;
  if (e.has("raw")) {
    for (const char* k : {"type", "major", "minor", "location", "detail", "data", "size"})
      if (e.has(k)) e.fail(k, "a raw entry has no other keys");
    w.raw = e.bytes("raw");
    return w;
  }
  if (!e.has("type")) e.fail("type", "an entry needs a type (or raw bytes)");
  w.type = uint32_t(e.integer("type", 0, 0, 0xFFFFFFFF));
  w.major = uint8_t(e.integer("major", 0, 0, 0xFF));
  w.minor = uint8_t(e.integer("minor", 0, 0, 0xFF));
  if (e.has("data")) {
    if (e.has("location") || e.has("detail")) e.fail("data", "give data, or location and detail");
    w.body = e.bytes("data");
  } else if (e.has("location") || e.has("detail")) {
    JsonReader l = e.object("location");
    for (const char* k : {"socket", "channel", "dimm", "rank"}) w.body.push_back(uint8_t(l.integer(k, 0, 0, 0xFF)));
    std::vector<uint8_t> detail = e.bytes("detail");
    w.body.insert(w.body.end(), detail.begin(), detail.end());
  }
  if (e.has("size")) w.size = uint16_t(e.integer("size", 0, 0, 0xFFFF));
  return w;
}

}  // namespace

void parseBoardWarningLog(JsonReader& root, BoardConfig& board) {
  JsonReader r = root.object("warning_log");
  WarningLogConfig& log = board.warningLog;
  r.each("entries", [&](JsonReader& e) { log.entries.push_back(parseEntry(e)); });
  size_t bytes = warningLogBytes(log).size();
  if (bytes > kWarningLogAreaSize)
    r.fail("entries", "the entries take " + std::to_string(bytes) + " bytes, the log area holds " +
                          std::to_string(kWarningLogAreaSize));
  if (r.has("used_size")) log.usedSize = uint32_t(r.integer("used_size", 0, 0, 0xFFFFFFFF));
  log.memWarning = uint8_t(r.integer("mem_warning", log.memWarning, 0, 0xFF));
}

}  // namespace zub
