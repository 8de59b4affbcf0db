// zubsim diagnose: the BMC asks for a hardware diagnosis (CPLD 0x13 bit 1, with bit 2 when
// the failed device is to be isolated) and the board boots again and again, each boot
// beginning the way the previous one ended, until FaultIsolatePei reports a finding (one
// isolation boot follows) or ends without one; then the BMC withdraws its request and a
// last boot ends the diagnosis. The fault is injected into the board for the whole run.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Outside/DiagnosisRecord.h"
#include "Zubsim.h"

namespace zub {

struct DiagnoseOptions {
  CommonOptions common;
  std::string fault = "none";   // a device name of the board (cpu:N, core:N:C, ...) or none
  bool isolate = false;
  ResetKind firstReset = ResetKind::Cold;
  unsigned maxBoots = 200;
  bool writeOutputs = true;     // each boot's outputs in common.out/boot-N
};

struct DiagnosisBootLine {
  unsigned boot = 0;
  DiagnosisRecord record;   // the CMOS record the boot left
  BootEndKind end = BootEndKind::Completed;
  std::string outcome;      // "succeeded", or how the boot ended and why
  std::string text;         // the boot's progress text, or its report
};

struct DiagnosisOutcome {
  int exitCode = 0;              // 0 ended; 1 not ended within the boots allowed; 2 bad input
  bool ended = false;            // the BMC's last boot ended the diagnosis
  std::string result;            // "found", "not_found", or empty when no result came
  std::string resultText;
  nlohmann::json resultReport;   // the BMC's dyl_report event of the result
  std::vector<DiagnosisBootLine> boots;
  uint64_t virtualNs = 0;        // all boots together
};

DiagnosisOutcome runDiagnosis(const DiagnoseOptions& options, std::ostream& out, std::ostream& err);

}  // namespace zub
