// The BMC's reading of DYL reports (NetFn 0x36, command 0x04, sub-command 0x13): each one
// becomes a "dyl_report" event with its classification, time stamp, attribute word and
// payload; a diagnosis report (class 0x0A) also gives its CMOS snapshot, text and, for
// results, kind, owner, detail and info; a forwarded warning log entry (class 0x05) its
// type, size and codes; a firmware-hang report (class 0x09) its text. Other sub-commands
// go to the handler that was registered before.
#pragma once
#include <cstdint>
#include <vector>

#include <nlohmann/json.hpp>

#include "Bmc.h"

namespace zub {

// The event fields of one DYL request (data after the NetFn/command); null when the
// request is not a well-formed DYL report.
nlohmann::json decodeDylReport(const std::vector<uint8_t>& request);

void installDylDecoder(Bmc& bmc);

}  // namespace zub
