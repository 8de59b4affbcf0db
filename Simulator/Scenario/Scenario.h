// Scenarios: a board file with the outcome it must reach, boot by boot, written as
// NAME.expect.json beside boards/scenarios/NAME.json. Checked through what a user sees:
// how each boot ended, screen text, files at the BMC, PCDs, CMOS bytes, debug text and
// events.
//
// NAME.expect.json:
//   {"description": "...", "reset": "cold", "state": "fresh",
//    "boots": [{"ended": "completed", "screen": ["text"], "screen_absent": ["text"],
//               "bmc_files": ["push_BiosStartBoot.json"], "bmc_files_absent": [...],
//               "pcds": {"PcdZubBootMode": 1}, "cmos": {"0x73": 0},
//               "debug": ["text"], "debug_absent": ["text"],
//               "events": [{"event": "dyl_report", "class": "0x0A"}], "events_absent": [...]}, ...]}
// A diagnosis scenario names instead "diagnose": {"fault": DEVICE, "isolate": false,
// "max_boots": N} and the outcome: "result" ("found" / "not_found"), "result_text",
// "boots_at_most"; it runs the way `zubsim diagnose` does.
// Each element of "boots" is one boot, each beginning the way the previous one ended.
// An event expectation matches an event holding every field it names with equal values.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zub {

class BootSession;

// Problems found in one boot (empty: the boot reached its expectations).
std::vector<std::string> checkBoot(BootSession& session, const nlohmann::json& expect);

// Runs a scenario and returns every unmet expectation, "boot N: ..." each.
std::vector<std::string> runScenario(const std::filesystem::path& boardFile, const std::filesystem::path& expectFile,
                                     const std::filesystem::path& firmwareDir);

}  // namespace zub
