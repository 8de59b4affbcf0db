// A whole diagnosis through the real default board: the BMC's request, boot after boot
// with the device-disabling firmware, the watchdog and the later firmware, until the
// result report, the isolation boot and the end. One fault per device class (more where
// the search is short), each ending within a bound of boots with the report naming it or
// with the documented outcome without a finding.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Board/BoardFile.h"
#include "Cli/Diagnose.h"

namespace fs = std::filesystem;

namespace zub {
namespace {

struct Case {
  std::string fault;
  bool isolate;
  nlohmann::json board;   // changes to the default board
  std::string result;     // "found" or "not_found"
  std::string text;
  unsigned boots;         // the whole diagnosis takes this many boots (and may take no more)
};

std::string boardFile(const nlohmann::json& changes, const std::string& name) {
  fs::path p = fs::temp_directory_path() / ("zub-diagnose-" + std::to_string(::getpid()) + "-" + name + ".json");
  std::ofstream(p) << mergeBoard(nlohmann::json::parse(defaultBoardText()), changes).dump();
  return p.string();
}

TEST(Diagnose, EveryDeviceClassOfTheDefaultBoardEndsWithItsReport) {
  const Case cases[] = {
      {"none", false, {}, "not_found", "Diagnosis pre-check: Normal startup succeeded. No need to perform diagnosis.", 3},
      {"pch-pcie:3", true, {}, "found",
       "Diagnosis succeeded. PCIe device (location is onboard NIC) connected to root port 3 of the PCH failed. The PCIe "
       "device will be disabled.",
       9},
      {"usb:4", false, {}, "found", "Diagnosis succeeded. USB device (location is rear up) failed.", 11},
      {"sata:5", false, {}, "found", "Diagnosis succeeded. SATA device connected to SATA port 5 of the PCH failed.", 14},
      {"ssata:2", true, {}, "found",
       "Diagnosis succeeded. SATA device (location is M.2-SSD2) connected to sSATA port 2 of the PCH failed. The port "
       "will be disabled.",
       12},
      {"iio:1:2B", false, {}, "found", "Diagnosis succeeded. PCIe device connected to IIO port 2B of CPU 1 - slot 4 failed.", 12},
      {"iio:2:3A", true, {}, "found",
       "Diagnosis succeeded. PCIe device connected to IIO port 3A of CPU 2 failed. The port will be disabled.", 14},
      {"dimm:2:G0", true, {}, "found",
       "Diagnosis succeeded. Memory module G0 of CPU 2 failed. The memory module and the corresponding memory modules will "
       "be disabled.",
       14},
      // Persistent memory on CPU 2: the count from 0xFF does not alternate with 0xFE; it ends.
      {"dimm:2:H0", true, {{"topology", {{"cpus", {nlohmann::json::object(), {{"persistent", {"H0", "H1"}}}}}}}}, "found",
       "Diagnosis succeeded. Memory module H0 of CPU 2 failed. The memory module and the corresponding memory modules "
       "and NVDIMMs will be disabled.",
       12},
      {"core:2:15", false, {}, "found", "Diagnosis succeeded. Core 15 of CPU 2 failed.", 15},
      {"core:1:14", true, {}, "found", "Diagnosis succeeded. Core 14 of CPU 1 failed.  The CPU core will be disabled.", 16},
      {"cpu:2", true, {}, "found", "Diagnosis succeeded. CPU 2 failed.  The CPU will be disabled.", 29},
      // Inside the minimum configuration: the minimum-configuration boot fails as well.
      {"dimm:1:A0", false, {}, "not_found",
       "Diagnosis pre-check: Minimum-configuration startup fails with CPU 1 core 1 and memory module A0. Please check if "
       "the CPU, memory module, or motherboard fails and replace the failed component.",
       4},
      // A fatal error of the memory reference code ends the diagnosis at the next boot.
      {"none", false, {{"faults", {{"memory_fatal", {{"kind", "internal"}, {"code", "0x23"}}}}}}, "not_found",
       "Hardware Diagnosis Exception: RC Internal Fatal Error 0xf2 0x23.", 3},
  };
  auto t0 = std::chrono::steady_clock::now();
  unsigned totalBoots = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault + (c.board.is_null() ? "" : " " + c.board.dump()));
    DiagnoseOptions o;
    if (!c.board.is_null()) o.common.board = boardFile(c.board, std::to_string(totalBoots));
    o.common.state = "";   // in memory
    o.fault = c.fault;
    o.isolate = c.isolate;
    o.maxBoots = c.boots;
    o.writeOutputs = false;
    std::ostringstream out, err;
    DiagnosisOutcome r = runDiagnosis(o, out, err);
    if (o.common.board) fs::remove(*o.common.board);
    totalBoots += unsigned(r.boots.size());
    ASSERT_EQ(r.exitCode, 0) << err.str() << out.str();
    EXPECT_TRUE(r.ended);
    EXPECT_EQ(r.boots.size(), c.boots) << out.str();
    EXPECT_EQ(r.result, c.result) << out.str();
    EXPECT_EQ(r.resultText, c.text) << out.str();
    ASSERT_GE(r.boots.size(), 3u);
    EXPECT_EQ(out.str().find("boot 1: mode 2 phase 0 step 0"), 0u) << "the first boot starts the diagnosis";
    EXPECT_NE(out.str().find("result: " + c.text + "\n"), std::string::npos);
    // The last boot ends the diagnosis: record cleared, cold reset.
    const DiagnosisBootLine& last = r.boots.back();
    EXPECT_EQ(last.record, DiagnosisRecord{});
    EXPECT_EQ(last.end, BootEndKind::ColdReset);
    EXPECT_EQ(last.text, "(diagnosis ended)");
    if (c.result == "found") {
      // The finding's boot, then one isolation boot in Phase 4, which with isolation runs
      // with the device disabled and succeeds, and without it fails again.
      const DiagnosisBootLine& isolation = r.boots[r.boots.size() - 2];
      EXPECT_EQ(isolation.record.phase(), 4u);
      EXPECT_EQ(isolation.text, "Hardware Isolation Boot: Current status is normal boot with failed device disabled.");
      EXPECT_EQ(isolation.outcome == "succeeded", c.isolate) << isolation.outcome;
      EXPECT_EQ(r.boots[r.boots.size() - 3].text, "found: " + c.text);
    }
    // Every failed boot was reset by the watchdog or by FaultIsolatePei, never left halted.
    for (const auto& b : r.boots) EXPECT_TRUE(b.end == BootEndKind::Completed || b.end == BootEndKind::ColdReset) << b.outcome;
  }
  double hostS = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("[ diagnose ] %zu diagnoses, %u boots, %.2f s host time (%.0f ms a boot)\n", std::size(cases), totalBoots,
              hostS, 1000 * hostS / totalBoots);
}

int zubsim(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
  args.insert(args.begin(), "zubsim");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  return zubsimMain(int(argv.size()), argv.data(), out, err);
}

TEST(Diagnose, TheCommandWritesEachBootsOutputsAndOneLinePerBoot) {
  fs::path dir = fs::temp_directory_path() / ("zub-diagnose-cli-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  std::ostringstream out, err;
  ASSERT_EQ(zubsim({"diagnose", "--fault", "usb:3", "--isolate", "--state", (dir / "s").string(), "--out",
                    (dir / "o").string()},
                   out, err),
            0)
      << err.str();
  std::vector<std::string> lines;
  std::istringstream in(out.str());
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_GE(lines.size(), 5u);
  size_t boots = lines.size() - 2;
  for (size_t n = 1; n <= boots; ++n) {
    EXPECT_EQ(lines[n - 1].rfind("boot " + std::to_string(n) + ": mode ", 0), 0u) << lines[n - 1];
    EXPECT_TRUE(fs::exists(dir / "o" / ("boot-" + std::to_string(n)) / "events.jsonl")) << n;
  }
  EXPECT_FALSE(fs::exists(dir / "o" / ("boot-" + std::to_string(boots + 1))));
  EXPECT_EQ(lines[boots], "result: Diagnosis succeeded. USB device (location is rear down) failed. The USB device will be disabled.");
  EXPECT_EQ(lines[boots + 1].rfind(std::to_string(boots) + " boots, virtual time ", 0), 0u) << lines[boots + 1];
  // The state folder carries the record across the boots: the last one cleared it.
  std::ifstream cmos(dir / "s" / "cmos.bin", std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(cmos)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 0x7Au);
  for (int i = 0x73; i <= 0x79; ++i) EXPECT_EQ(bytes[i], 0) << i;
  fs::remove_all(dir);
}

TEST(Diagnose, ADeviceTheBoardDoesNotHaveIsAClearError) {
  struct Case {
    const char* fault;
    const char* says;
  } cases[] = {{"dimm:3:A0", "the board has no dimm:3:A0"}, {"usb:2", "the board has no usb:2"},
               {"core:1:17", "the board has no core:1:17"}, {"iio:1:4D", "the board has no iio:1:4D"},
               {"dimm:1:Z9", "A0..H1"}, {"gpu:1", "expected cpu:N"}};
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(zubsim({"diagnose", "--fault", c.fault, "--state", "", "--out", ""}, out, err), 2) << c.fault;
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "") << "no boot ran";
  }
}

TEST(Diagnose, ADiagnosisThatDoesNotEndInTimeSaysSo) {
  DiagnoseOptions o;
  o.common.state = "";
  o.fault = "cpu:2";
  o.maxBoots = 5;
  o.writeOutputs = false;
  std::ostringstream out, err;
  DiagnosisOutcome r = runDiagnosis(o, out, err);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(r.ended);
  EXPECT_EQ(r.boots.size(), 5u);
  EXPECT_NE(err.str().find("did not end within 5 boots"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace zub
