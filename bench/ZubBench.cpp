// Host time of the board's heaviest work: a default boot, a whole diagnosis run, the
// video bring-up with its frame-buffer clear, and a 1 MB quick-transfer file with its
// CRCs; then each module's virtual PEI time and bus accesses of a default boot.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include <Ppi/QuickTrans.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Cli/Diagnose.h"
#include "ModuleTable.h"
#include "QuickTransferBoard.h"

namespace zub::bench {
namespace {

void DefaultBoot(benchmark::State& state) {
  const BoardConfig board = defaultBoard();
  for (auto _ : state) {
    BootSession boot(board, PersistentState{});
    benchmark::DoNotOptimize(boot.run());
  }
}
BENCHMARK(DefaultBoot)->Unit(benchmark::kMillisecond);

// A diagnosis that has to walk the device groups down to one USB port, isolation included.
void WorstCaseDiagnosis(benchmark::State& state) {
  auto dir = std::filesystem::temp_directory_path() / "zub-bench-diagnosis";
  unsigned boots = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(dir);
    DiagnoseOptions o;
    o.common.state = dir / "state";
    o.common.out = dir / "out";
    o.fault = "usb:7";
    o.isolate = true;
    o.writeOutputs = false;
    std::ostringstream out, err;
    DiagnosisOutcome r = runDiagnosis(o, out, err);
    if (r.exitCode != 0) state.SkipWithError(("diagnosis did not end: " + err.str()).c_str());
    boots = unsigned(r.boots.size());
  }
  state.counters["boots"] = boots;
  std::filesystem::remove_all(dir);
}
BENCHMARK(WorstCaseDiagnosis)->Unit(benchmark::kMillisecond)->Iterations(3);

// VgaDecodePei alone: the AST2500 bring-up, the frame-buffer clear among it.
void VideoBringUp(benchmark::State& state) {
  BoardConfig board = defaultBoard();
  board.modules = {"VgaDecodePei"};
  board.timeline = {TimelineStep{}};
  for (auto _ : state) {
    state.PauseTiming();
    auto boot = std::make_unique<BootSession>(board, PersistentState{});
    boot->start();
    state.ResumeTiming();
    boot->dispatcher().dispatch("VgaDecodePei");
    state.PauseTiming();
    boot.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(VideoBringUp)->Unit(benchmark::kMillisecond);

// GetFile of the largest file the channel carries: the BMC's copy and CRCs, the module's checks.
void QuickTransferFile1MB(benchmark::State& state) {
  BoardConfig board = defaultBoard();
  board.bmc.files = {{"bios_logo_early.bmp", std::vector<uint8_t>(QUICK_TRANS_GET_FILE_MAX, 0xA5)}};
  test::QuickTransferBoot link(board);
  auto* ppi = link.boot.locate<QUICK_TRANS_PPI>(gQuickTransPpiGuid);
  for (auto _ : state) {
    UINT32 size = 0;
    VOID* data = nullptr;
    if (ppi->GetFile("bios_logo_early.bmp", &size, &data) != EFI_SUCCESS || size != QUICK_TRANS_GET_FILE_MAX)
      state.SkipWithError("GetFile failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * QUICK_TRANS_GET_FILE_MAX);
}
BENCHMARK(QuickTransferFile1MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zub::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  zub::BootSession boot(zub::defaultBoard(), zub::PersistentState{});
  boot.run();
  zub::bench::printModuleTable(boot.summary(), std::cout);
  return 0;
}
