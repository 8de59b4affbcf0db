#include "Zubsim.h"

#include <chrono>
#include <iostream>

#include <CLI/CLI.hpp>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/SpiFlash.h"
#include "Diagnose.h"
#include "LogCommand.h"
#include "NvramCommand.h"

namespace zub {

// How the next boot begins after a boot ended this way: a completed boot hands over to the
// OS, which restarts the server with a cold reset; a halted CPU is power-cycled by the
// BMC's watchdog (cold); a power loss comes back as an AC power-on.
ResetKind nextReset(BootEndKind end) {
  switch (end) {
    case BootEndKind::WarmReset: return ResetKind::Warm;
    case BootEndKind::PowerLoss: return ResetKind::Ac;
    default: return ResetKind::Cold;
  }
}

std::string formatMs(uint64_t ns) {
  char b[32];
  std::snprintf(b, sizeof b, "%.3f ms", double(ns) / 1e6);
  return b;
}

namespace {
int reportError(std::ostream& err) {
  try {
    throw;
  } catch (const BoardFileError& e) {
    err << "zubsim: board file error: " << e.what() << "\n";
  } catch (const std::exception& e) {
    err << "zubsim: " << e.what() << "\n";
  }
  return 2;
}
}  // namespace

int loadBoardAndState(const CommonOptions& o, BoardConfig& board, PersistentState& state, std::ostream& err) {
  try {
    board = o.board ? loadBoardFile(*o.board) : defaultBoard();
    state = PersistentState::load(o.state);
  } catch (const std::exception&) {
    return reportError(err);
  }
  return 0;
}

int bootOnce(const BoardConfig& board, PersistentState& state, const CommonOptions& o, ResetKind reset,
             const std::filesystem::path& dir, BootResult& result, std::ostream& err,
             const std::function<void(BootSession&)>& inspect) {
  PersistentState after;
  try {
    BootOptions bo{o.firmware, reset, state.boots + 1};
    bo.powerLossAtFlashOp = o.powerLossAtFlashOp;
    BootSession session(board, state, bo);
    result = session.run();
    after = session.stateAfter();
    if (!dir.empty()) session.writeOutputs(dir);
    if (inspect) inspect(session);
  } catch (const std::exception&) {
    return reportError(err);
  }
  // The state is written only after a boot has run to its end.
  if (nextReset(result.end) == ResetKind::Ac) after.vram.clear();
  if (!o.state.empty()) after.save(o.state);
  state = std::move(after);
  return 0;
}

int runBoots(const CommonOptions& o, ResetKind firstReset, unsigned boots, std::ostream& out, std::ostream& err) {
  BoardConfig board;
  PersistentState state;
  if (int rc = loadBoardAndState(o, board, state, err)) return rc;
  uint32_t flashOpsLeft = o.powerLossAtFlashOp.value_or(0);
  ResetKind reset = firstReset;
  if (reset == ResetKind::Ac) state.vram.clear();
  for (unsigned n = 1; n <= boots; ++n) {
    auto t0 = std::chrono::steady_clock::now();
    std::filesystem::path dir = boots == 1 ? o.out : o.out / ("boot-" + std::to_string(n));
    BootResult r;
    // --power-loss-at-flash-op comes once: at the N-th flash operation counted over the
    // boots of the command (the board's own knob counts over the life of the state).
    CommonOptions bootOptions = o;
    if (o.powerLossAtFlashOp) bootOptions.powerLossAtFlashOp = flashOpsLeft;
    uint32_t flashOps = 0;
    if (int rc = bootOnce(board, state, bootOptions, reset, dir, r, err,
                          [&](BootSession& s) { flashOps = s.flash().operations(); }))
      return rc;
    flashOpsLeft = flashOpsLeft > flashOps ? flashOpsLeft - flashOps : 0;
    double hostMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    out << "boot " << n << " (" << resetKindName(reset) << "): " << bootEndName(r.end) << " - " << r.detail
        << "; virtual " << formatMs(r.virtualNs) << ", host " << hostMs << " ms; outputs in " << dir.string() << "\n";
    reset = nextReset(r.end);
  }
  return 0;
}

int zubsimMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"zubsim: boots the firmware's PEI modules on the simulated server board"};
  app.require_subcommand(1);
  CommonOptions o;
  std::string reset = "cold";
  unsigned boots = 1;
  auto common = [&](CLI::App* c) {
    c->add_option("--board", o.board, "board file (JSON); the embedded default board when absent")->check(CLI::ExistingFile);
    c->add_option("--state", o.state, "state folder: CMOS, flash and video memory kept between boots")
        ->capture_default_str();
    c->add_option("--out", o.out, "output folder of the boot(s)")->capture_default_str();
    c->add_option("--firmware", o.firmware, "folder of the module images and their .inf files")->capture_default_str();
    c->add_option("--reset", reset, "how the (first) boot begins")->check(CLI::IsMember({"warm", "cold", "ac"}))
        ->capture_default_str();
  };
  CLI::App* boot = app.add_subcommand("boot", "boot the board once");
  common(boot);
  CLI::App* run = app.add_subcommand("run", "boot N times in a row, each boot following the way the previous ended");
  common(run);
  for (CLI::App* c : {boot, run})
    c->add_option("--power-loss-at-flash-op", o.powerLossAtFlashOp,
                  "the power fails during the N-th flash erase or write (counted over the boots of the command)");
  run->add_option("--boots", boots, "number of boots")->required()->check(CLI::Range(1u, 100000u));
  NvramCommand nvram(app);
  LogCommand log(app);
  DiagnoseOptions diagnose;
  CLI::App* diag = app.add_subcommand("diagnose", "boot through a whole hardware diagnosis that the BMC requests");
  common(diag);
  diag->add_option("--fault", diagnose.fault,
                   "the faulty device: cpu:N, core:N:C, dimm:N:NAME (A0..H1), iio:N:PORT (1A..5D), pch-pcie:N, usb:N, "
                   "sata:N, ssata:N, or none")
      ->required();
  diag->add_flag("--isolate", diagnose.isolate, "the BMC also asks for isolation (CPLD 0x13 bit 2)");
  diag->add_option("--max-boots", diagnose.maxBoots, "give up after this many boots")->check(CLI::Range(1u, 100000u))
      ->capture_default_str();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err);
  }
  if (nvram.parsed()) return nvram.run(out, err);
  if (log.parsed()) return log.run(out, err);
  ResetKind first = resetKindFromName(reset);
  if (diag->parsed()) {
    diagnose.common = o;
    diagnose.firstReset = first;
    return runDiagnosis(diagnose, out, err).exitCode;
  }
  return runBoots(o, first, boot->parsed() ? 1 : boots, out, err);
}

}  // namespace zub
