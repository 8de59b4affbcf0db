#include "Diagnose.h"

#include <chrono>
#include <ostream>

#include "Devices/Chipset.h"
#include "Devices/Cpld.h"
#include "Machine/EventLog.h"

namespace zub {

namespace {

enum class Stage { Diagnosing, Isolating, Ending };

std::string outcomeOf(const BootResult& r, const DiagnosisRecord& record) {
  if (r.end == BootEndKind::Completed)
    return (record.flags & DiagnosisRecord::kBootSuccess) ? "succeeded" : "completed";
  return std::string(bootEndName(r.end)) + " (" + r.detail + ")";
}

std::string formatSeconds(uint64_t ns) {
  char b[32];
  std::snprintf(b, sizeof b, "%.3f s", double(ns) / 1e9);
  return b;
}

}  // namespace

DiagnosisOutcome runDiagnosis(const DiagnoseOptions& o, std::ostream& out, std::ostream& err) {
  DiagnosisOutcome result;
  BoardConfig board;
  PersistentState state;
  if ((result.exitCode = loadBoardAndState(o.common, board, state, err))) return result;
  if (o.fault != "none") {
    std::string why;
    std::optional<Device> d = parseDevice(o.fault, &why);
    if (!d) {
      err << "zubsim: --fault " << o.fault << ": " << why << "\n";
      return result.exitCode = 2, result;
    }
    if (!board.topology.has(*d)) {
      err << "zubsim: --fault " << o.fault << ": the board has no " << deviceName(*d) << "\n";
      return result.exitCode = 2, result;
    }
    board.faults.devices.insert(*d);
  }

  auto t0 = std::chrono::steady_clock::now();
  const uint8_t request = Cpld::kRequestDiagnosis | (o.isolate ? Cpld::kRequestIsolate : 0);
  Stage stage = Stage::Diagnosing;
  ResetKind reset = o.firstReset;
  if (reset == ResetKind::Ac) state.vram.clear();
  for (unsigned n = 1; n <= o.maxBoots && !result.ended; ++n) {
    board.cpld.registers[Cpld::kRequest] = stage == Stage::Ending ? 0 : request;
    std::filesystem::path dir = o.writeOutputs ? o.common.out / ("boot-" + std::to_string(n)) : std::filesystem::path();
    BootResult r;
    std::vector<nlohmann::json> reports;
    DiagnosisBootLine line{n};
    if ((result.exitCode = bootOnce(board, state, o.common, reset, dir, r, err, [&](BootSession& s) {
           for (auto& e : s.events().ofType("dyl_report"))
             if (e.value("class", "") == "0x0A") reports.push_back(e);
           line.record = DiagnosisRecord::read(s.chipset().cmos);
         })))
      return result;
    result.virtualNs += r.virtualNs;
    line.end = r.end;
    line.outcome = outcomeOf(r, line.record);
    bool found = false, notFound = false;
    for (const auto& rep : reports) {
      std::string kind = rep.value("diagnosis", "");
      std::string text = rep.value("text", "");
      if (kind == "progress") line.text = text;
      if (kind == "end" && line.text.empty()) line.text = "(diagnosis ended)";
      if (kind == "found" || kind == "not_found") {
        found = kind == "found", notFound = kind == "not_found";
        result.result = kind, result.resultText = text, result.resultReport = rep;
        line.text = (found ? "found: " : "not found: ") + text;
      }
    }
    out << "boot " << n << ": " << line.record.describe() << " | " << line.outcome << " | " << line.text << "\n";
    result.boots.push_back(line);
    reset = nextReset(r.end);
    if (stage == Stage::Ending) result.ended = true;
    else if (stage == Stage::Isolating) stage = Stage::Ending;
    else if (found) stage = Stage::Isolating;
    else if (notFound) stage = Stage::Ending;
  }
  double hostMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  if (!result.result.empty()) out << "result: " << result.resultText << "\n";
  else out << "result: none\n";
  out << result.boots.size() << " boots, virtual time " << formatSeconds(result.virtualNs) << " (host " << hostMs
      << " ms)\n";
  if (!result.ended) {
    err << "zubsim: the diagnosis did not end within " << o.maxBoots << " boots\n";
    result.exitCode = 1;
  }
  return result;
}

}  // namespace zub
