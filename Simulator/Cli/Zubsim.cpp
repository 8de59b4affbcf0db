#include "Zubsim.h"

#include <chrono>
#include <iostream>

#include <CLI/CLI.hpp>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {

namespace {

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

}  // namespace

int runBoots(const CommonOptions& o, ResetKind firstReset, unsigned boots, std::ostream& out, std::ostream& err) {
  BoardConfig board;
  PersistentState state;
  try {
    board = o.board ? loadBoardFile(*o.board) : defaultBoard();
    state = PersistentState::load(o.state);
  } catch (const BoardFileError& e) {
    err << "zubsim: board file error: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    err << "zubsim: " << e.what() << "\n";
    return 2;
  }
  ResetKind reset = firstReset;
  if (reset == ResetKind::Ac) state.vram.clear();
  for (unsigned n = 1; n <= boots; ++n) {
    auto t0 = std::chrono::steady_clock::now();
    std::filesystem::path dir = boots == 1 ? o.out : o.out / ("boot-" + std::to_string(n));
    BootResult r;
    PersistentState after;
    try {
      BootOptions bo{o.firmware, reset, state.boots + 1};
      BootSession session(board, state, bo);
      r = session.run();
      after = session.stateAfter();
      session.writeOutputs(dir);
    } catch (const BoardFileError& e) {
      err << "zubsim: board file error: " << e.what() << "\n";
      return 2;
    } catch (const std::exception& e) {
      err << "zubsim: " << e.what() << "\n";
      return 2;
    }
    // The state is written only after a boot has run to its end.
    if (nextReset(r.end) == ResetKind::Ac) after.vram.clear();
    after.save(o.state);
    state = after;
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
  run->add_option("--boots", boots, "number of boots")->required()->check(CLI::Range(1u, 100000u));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err);
  }
  ResetKind first = reset == "warm" ? ResetKind::Warm : reset == "ac" ? ResetKind::Ac : ResetKind::Cold;
  return runBoots(o, first, boot->parsed() ? 1 : boots, out, err);
}

}  // namespace zub
