#include "Scenario.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Cli/Diagnose.h"
#include "Cli/Zubsim.h"
#include "Devices/Ast2500.h"
#include "Devices/Ast2500Screen.h"
#include "Devices/Chipset.h"
#include "Platform/PcdDatabase.h"

namespace zub {

namespace {

nlohmann::json readJson(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  return nlohmann::json::parse(in);
}

bool eventMatches(const nlohmann::json& event, const nlohmann::json& want) {
  for (auto& [key, value] : want.items())
    if (!event.contains(key) || event[key] != value) return false;
  return true;
}

void checkTexts(const nlohmann::json& expect, const char* key, const std::string& text, bool present,
                const std::string& where, std::vector<std::string>& problems) {
  if (!expect.contains(key)) return;
  for (const auto& t : expect[key]) {
    bool found = text.find(t.get<std::string>()) != std::string::npos;
    if (found != present) problems.push_back(where + (present ? " lacks " : " holds ") + t.dump());
  }
}

}  // namespace

std::vector<std::string> checkBoot(BootSession& s, const nlohmann::json& expect) {
  std::vector<std::string> problems;
  nlohmann::json summary = s.summary();
  if (expect.contains("ended") && summary["ended"] != expect["ended"])
    problems.push_back("ended " + summary["ended"].dump() + " (" + summary["detail"].get<std::string>() + "), expected " +
                       expect["ended"].dump());
  std::string screen;
  if (s.video()) screen = readScreenText(scanOutScreen(*s.video()));
  checkTexts(expect, "screen", screen, true, "screen", problems);
  checkTexts(expect, "screen_absent", screen, false, "screen", problems);
  checkTexts(expect, "debug", s.platform().debug.log(), true, "debug.log", problems);
  checkTexts(expect, "debug_absent", s.platform().debug.log(), false, "debug.log", problems);
  auto hasFile = [&](const std::string& name) {
    for (const auto& f : s.bmc().receivedFiles())
      if (f.name == name) return true;
    return false;
  };
  for (const char* key : {"bmc_files", "bmc_files_absent"}) {
    if (!expect.contains(key)) continue;
    bool present = std::string(key) == "bmc_files";
    for (const auto& f : expect[key])
      if (hasFile(f.get<std::string>()) != present)
        problems.push_back(std::string("BMC ") + (present ? "lacks " : "holds ") + f.dump());
  }
  if (expect.contains("pcds"))
    for (auto& [name, value] : expect["pcds"].items())
      if (!summary["pcds"].contains(name) || summary["pcds"][name] != value)
        problems.push_back("PCD " + name + " is " + (summary["pcds"].contains(name) ? summary["pcds"][name].dump() : "unknown") +
                           ", expected " + value.dump());
  if (expect.contains("cmos"))
    for (auto& [index, value] : expect["cmos"].items()) {
      unsigned i = std::stoul(index, nullptr, 0);
      unsigned actual = s.chipset().cmos.byte(uint8_t(i));
      if (actual != value.get<unsigned>())
        problems.push_back("CMOS " + index + " is " + std::to_string(actual) + ", expected " + value.dump());
    }
  const auto& events = s.events().events();
  for (const char* key : {"events", "events_absent"}) {
    if (!expect.contains(key)) continue;
    bool present = std::string(key) == "events";
    for (const auto& want : expect[key]) {
      bool found = std::any_of(events.begin(), events.end(), [&](const nlohmann::json& e) { return eventMatches(e, want); });
      if (found != present) problems.push_back(std::string(present ? "no event " : "an event ") + want.dump());
    }
  }
  return problems;
}

namespace {
// "diagnose": {"fault": DEVICE, "isolate": bool, "max_boots": N}, with "result" ("found" or
// "not_found"), "result_text" (a text the result report holds) and "boots_at_most".
std::vector<std::string> runDiagnosisScenario(const std::filesystem::path& boardFile, const nlohmann::json& expect,
                                              const std::filesystem::path& firmwareDir) {
  const nlohmann::json& d = expect["diagnose"];
  DiagnoseOptions o;
  o.common.board = boardFile;
  o.common.firmware = firmwareDir;
  o.common.state = std::filesystem::temp_directory_path() /
                   ("zub-scenario-" + std::to_string(::getpid()) + "-" + boardFile.stem().string());
  std::filesystem::remove_all(o.common.state);
  o.fault = d.value("fault", "none");
  o.isolate = d.value("isolate", false);
  o.maxBoots = d.value("max_boots", 200u);
  o.writeOutputs = false;
  std::ostringstream out, err;
  DiagnosisOutcome r = runDiagnosis(o, out, err);
  std::filesystem::remove_all(o.common.state);
  std::vector<std::string> problems;
  if (r.exitCode != 0) problems.push_back("diagnosis exit code " + std::to_string(r.exitCode) + ": " + err.str());
  if (expect.contains("result") && r.result != expect["result"].get<std::string>())
    problems.push_back("result " + r.result + ", expected " + expect["result"].dump());
  if (expect.contains("result_text") && r.resultText.find(expect["result_text"].get<std::string>()) == std::string::npos)
    problems.push_back("result text \"" + r.resultText + "\" lacks " + expect["result_text"].dump());
  if (expect.contains("boots_at_most") && r.boots.size() > expect["boots_at_most"].get<size_t>())
    problems.push_back("took " + std::to_string(r.boots.size()) + " boots");
  return problems;
}
}  // namespace

std::vector<std::string> runScenario(const std::filesystem::path& boardFile, const std::filesystem::path& expectFile,
                                     const std::filesystem::path& firmwareDir) {
  nlohmann::json expect = readJson(expectFile);
  if (expect.contains("diagnose")) return runDiagnosisScenario(boardFile, expect, firmwareDir);
  BoardConfig board = loadBoardFile(boardFile);
  PersistentState state;
  CommonOptions options;
  options.state.clear();   // nothing is written to disk
  options.firmware = firmwareDir;
  std::string first = expect.value("reset", "cold");
  ResetKind reset = resetKindFromName(first);
  std::vector<std::string> problems;
  std::ostringstream err;
  int n = 0;
  for (const auto& want : expect.at("boots")) {
    ++n;
    BootResult result;
    std::vector<std::string> found;
    if (bootOnce(board, state, options, reset, {}, result, err, [&](BootSession& s) { found = checkBoot(s, want); }))
      return {"boot " + std::to_string(n) + ": " + err.str()};
    for (auto& p : found) problems.push_back("boot " + std::to_string(n) + ": " + p);
    reset = nextReset(result.end);
  }
  return problems;
}

}  // namespace zub
