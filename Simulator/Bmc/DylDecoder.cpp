#include "DylDecoder.h"

#include <cstdio>
#include <string>

namespace zub {

namespace {

constexpr uint8_t kNetFnOem = 0x36, kCommand = 0x04, kSubDyl = 0x13;
constexpr size_t kHeader = 21, kSnapshot = 10;

std::string hex16(uint16_t v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%04X", v);
  return b;
}

uint32_t le(const std::vector<uint8_t>& b, size_t at, unsigned bytes) {
  uint32_t v = 0;
  for (unsigned i = 0; i < bytes; ++i) v |= uint32_t(b[at + i]) << (8 * i);
  return v;
}

// A NUL-terminated text inside [at, end), cut at the field's end when unterminated.
std::string text(const std::vector<uint8_t>& b, size_t at) {
  std::string s;
  for (size_t i = at; i < b.size() && b[i] != 0; ++i) s.push_back(char(b[i]));
  return s;
}

void decodeDiagnosis(const std::vector<uint8_t>& payload, uint8_t sclass, nlohmann::json& e) {
  if (sclass == 0 && payload.size() == 1) {
    e["diagnosis"] = payload[0] == 1 ? "start" : payload[0] == 2 ? "end" : "unknown";
    return;
  }
  if (payload.size() != 232) return;
  if (sclass == 1) {
    e["diagnosis"] = "progress";
    e["snapshot"] = hexString(payload.data(), kSnapshot);
    e["text"] = text(payload, kSnapshot);
  } else if (sclass == 2) {
    e["diagnosis"] = (payload[0] & 0x80) ? "found" : "not_found";
    e["kind"] = hex8(payload[0]);
    e["owner"] = payload[1];
    e["detail"] = hex16(uint16_t(le(payload, 2, 2)));
    e["info"] = hex32(le(payload, 4, 4));
    e["snapshot"] = hexString(payload.data() + 8, kSnapshot);
    e["text"] = text(payload, 18);
  }
}

}  // namespace

nlohmann::json decodeDylReport(const std::vector<uint8_t>& r) {
  if (r.size() < kHeader || r[0] != 0x5B || r[1] != 0x4E || r[2] != 0x00 || r[3] != kSubDyl) return nullptr;
  nlohmann::json e;
  e["marker"] = hex8(r[4]);
  e["length_ok"] = size_t(r[5]) + 4 == r.size();
  e["type"] = le(r, 10, 2);
  e["class"] = hex8(r[12]);
  e["sclass"] = r[13];
  e["ssclass"] = r[14];
  e["time_stamp"] = le(r, 15, 4);
  e["attribute"] = hex16(uint16_t(le(r, 19, 2)));
  std::vector<uint8_t> payload(r.begin() + kHeader, r.end());
  e["payload"] = hexString(payload.data(), payload.size());
  if (r[12] == 0x0A) decodeDiagnosis(payload, r[13], e);
  if (r[12] == 0x05 && payload.size() >= 14) {   // a warning log entry forwarded by WarnLogCheckPei
    e["ewl_type"] = le(payload, 0, 4);
    e["ewl_size"] = le(payload, 4, 2);
    e["major"] = hex8(payload[12]);
    e["minor"] = hex8(payload[13]);
  }
  if (r[12] == 0x09) e["text"] = text(payload, 0);   // the firmware-hang report
  return e;
}

void installDylDecoder(Bmc& bmc) {
  Bmc::Handler previous = bmc.handlerFor(kNetFnOem, kCommand);
  bmc.handle(kNetFnOem, kCommand, [&bmc, previous](const std::vector<uint8_t>& request) -> std::vector<uint8_t> {
    nlohmann::json e = decodeDylReport(request);
    if (e.is_null()) return previous ? previous(request) : std::vector<uint8_t>{0xC1};
    bmc.events().add("dyl_report", e);
    return {0x00, 0x5B, 0x4E};
  });
}

}  // namespace zub
