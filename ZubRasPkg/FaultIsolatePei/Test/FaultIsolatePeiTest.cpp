// FaultIsolatePei booted on the board: CMOS record and CPLD request in, the next CMOS
// record, the DYL reports the relay was asked to send and how the boot ended out.
#include <gtest/gtest.h>

#include <Ppi/ZubIpmiTransport.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"
#include "Devices/Cpld.h"

namespace zub {
namespace {

struct RecordingRelay {
  ZUB_IPMI_TRANSPORT_PPI ppi{};
  EFI_PEI_PPI_DESCRIPTOR descriptor{};
  std::vector<std::vector<uint8_t>> sent;
  RecordingRelay() {
    ppi.IpmiSendCommand = [](ZUB_IPMI_TRANSPORT_PPI* This, UINT8 netFn, UINT8, UINT8 cmd, UINT8* data, UINT32 size,
                             UINT8*, UINT8*) -> EFI_STATUS {
      if (netFn == 0x36 && cmd == 0x04) reinterpret_cast<RecordingRelay*>(This)->sent.emplace_back(data, data + size);
      return EFI_SUCCESS;
    };
    descriptor = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gZubIpmiTransportPpiGuid, &ppi};
  }
};

// The diagnosis record, CMOS 0x73-0x79.
struct Record {
  uint8_t flags = 0, mode = 0, phaseStep = 0, subStep = 0, testIndex = 0, exceptionFlags = 0, exceptionCode = 0;
  auto operator<=>(const Record&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Record& r) {
  char b[80];
  std::snprintf(b, sizeof b, "{%02X %02X %02X %02X %02X %02X %02X}", r.flags, r.mode, r.phaseStep, r.subStep,
                r.testIndex, r.exceptionFlags, r.exceptionCode);
  return o << b;
}

struct Report {
  int type;
  std::vector<uint8_t> payload;
  std::string text() const {
    size_t at = type == 3 ? 10 : 18;
    if (payload.size() < at) return "";
    return std::string(reinterpret_cast<const char*>(payload.data() + at));
  }
  uint8_t kind() const { return payload.at(0); }
  uint8_t owner() const { return payload.at(1); }
  uint16_t detail() const { return uint16_t(payload.at(2) | payload.at(3) << 8); }
  uint32_t info() const { return payload.at(4) | payload.at(5) << 8 | payload.at(6) << 16 | uint32_t(payload.at(7)) << 24; }
};

struct Outcome {
  Record record;
  std::vector<Report> reports;
  BootEndKind end;
  uint64_t virtualNs;
  std::string log;
};

Outcome boot(const Record& in, uint8_t request, std::map<uint16_t, uint8_t> cpld = {}) {
  BoardConfig b = defaultBoard();
  b.modules = {"FaultIsolatePei"};
  b.timeline = {TimelineStep{}};
  b.faults.laterFirmware = false;   // the record as the module leaves it
  const uint8_t bytes[] = {in.flags, in.mode, in.phaseStep, in.subStep, in.testIndex, in.exceptionFlags, in.exceptionCode};
  for (int i = 0; i < 7; ++i) b.cmosStandard[uint8_t(0x73 + i)] = bytes[i];
  b.cpld.registers = std::move(cpld);
  b.cpld.registers[Cpld::kRequest] = request;
  RecordingRelay relay;
  BootSession s(b, {});
  s.start();
  s.core().installPpi(&relay.descriptor);
  BootResult r = s.run();
  Outcome o;
  auto& cmos = s.chipset().cmos;
  o.record = {cmos.byte(0x73), cmos.byte(0x74), cmos.byte(0x75), cmos.byte(0x76), cmos.byte(0x77), cmos.byte(0x78),
              cmos.byte(0x79)};
  for (const auto& m : relay.sent) {
    EXPECT_GE(m.size(), 21u);
    EXPECT_EQ(m[12], 0x0A);
    EXPECT_EQ(m[19], 0x00);
    EXPECT_EQ(m[20], 0x00);
    Report rep;
    rep.payload.assign(m.begin() + 21, m.end());
    uint8_t sclass = m[13];
    rep.type = sclass == 0 ? rep.payload.at(0) : sclass == 1 ? 3 : (rep.payload.at(0) & 0x80) ? 4 : 5;
    if (sclass != 0) EXPECT_EQ(rep.payload.size(), 232u);
    o.reports.push_back(rep);
  }
  o.end = r.end;
  o.virtualNs = r.virtualNs;
  o.log = s.platform().debug.log();
  return o;
}

std::vector<int> types(const Outcome& o) {
  std::vector<int> t;
  for (const auto& r : o.reports) t.push_back(r.type);
  return t;
}

constexpr uint8_t PS(int phase, int step) { return uint8_t(phase << 4 | step); }
constexpr uint64_t k30s = 30'000'000'000ull;

TEST(FaultIsolatePei, TransitionsAndValidation) {
  enum End { Goes, Reset30, ResetNow };
  struct Case {
    const char* name;
    Record in;
    uint8_t request;
    Record out;
    std::vector<int> reports;
    End end;
  } cases[] = {
      {"request starts a diagnosis", {0, 0}, 0x02, {0, 2, 0, 0}, {1, 3}, Goes},
      {"request clears a minimum boot first", {0, 1, 0x35, 0x11, 9}, 0x03, {0, 2, 0, 0}, {1, 3}, Goes},
      {"P0S0 success: no diagnosis needed", {1, 2, PS(0, 0)}, 0x02, {1, 2, PS(0, 0)}, {5}, Reset30},
      {"P0S0 fail: minimum boot", {0, 2, PS(0, 0)}, 0x02, {0, 2, PS(0, 1)}, {3}, Goes},
      {"P0S1 success: phase 1", {1, 2, PS(0, 1), 0x05, 3}, 0x02, {0, 2, PS(1, 1), 0x05, 0}, {3}, Goes},
      {"P0S1 fail: minimum configuration fails too", {0, 2, PS(0, 1)}, 0x02, {0, 2, PS(0, 1)}, {5}, Reset30},
      {"P1S2 success: phase 2", {1, 2, PS(1, 2), 0x37}, 0x02, {0, 2, PS(2, 2), 0x10}, {3}, Goes},
      {"P1S1 fail: next step", {0, 2, PS(1, 1)}, 0x02, {0, 2, PS(1, 2)}, {3}, Goes},
      {"P1S3 fail: CPUs", {0, 2, PS(1, 3)}, 0x02, {0, 2, PS(2, 4), 0x80}, {3}, Goes},
      {"P2S4 sub 8 fail: 7 becomes 6", {0, 2, PS(2, 4), 0x80}, 0x02, {0, 2, PS(2, 4), 0x60}, {3}, Goes},
      {"P2S4 sub 6 fail: 5 becomes 4", {0, 2, PS(2, 4), 0x60}, 0x02, {0, 2, PS(2, 4), 0x40}, {3}, Goes},
      {"P2S4 sub 4 fail: 3", {0, 2, PS(2, 4), 0x40}, 0x02, {0, 2, PS(2, 4), 0x30}, {3}, Goes},
      {"P2S4 sub 2 fail: CPU 1 core by core", {0, 2, PS(2, 4), 0x23}, 0x02, {0, 2, PS(3, 4), 0x10, 0xFF}, {3}, Goes},
      {"P2S1 sub 1 fail: next substep", {0, 2, PS(2, 1), 0x10}, 0x02, {0, 2, PS(2, 1), 0x20}, {3}, Goes},
      {"P2S1 sub 4 fail: limit", {0, 2, PS(2, 1), 0x40}, 0x02, {0, 2, PS(2, 1), 0x50}, {5}, Reset30},
      {"P2S2 sub 2 fail: limit", {0, 2, PS(2, 2), 0x20}, 0x02, {0, 2, PS(2, 2), 0x30}, {5}, Reset30},
      {"P2S3 sub 1 fail: CPU 2", {0, 2, PS(2, 3), 0x10}, 0x02, {0, 2, PS(2, 3), 0x20}, {3}, Goes},
      {"P2S1 success: one by one from 1", {1, 2, PS(2, 1), 0x23, 9}, 0x02, {0, 2, PS(3, 1), 0x20, 1}, {3}, Goes},
      {"P2S3 success: from 0xFF", {1, 2, PS(2, 3), 0x21}, 0x02, {0, 2, PS(3, 3), 0x20, 0xFF}, {3}, Goes},
      {"P2S4 success: from 0xFF", {1, 2, 0x24, 0x40}, 0x02, {0, 2, 0x34, 0x40, 0xFF}, {3}, Goes},
      {"P3S1 fail: next", {0, 2, PS(3, 1), 0x10, 3}, 0x02, {0, 2, PS(3, 1), 0x10, 4}, {3}, Goes},
      {"P3S1 sub 1 fail at 20: limit", {0, 2, PS(3, 1), 0x10, 20}, 0x02, {0, 2, PS(3, 1), 0x10, 21}, {5}, Reset30},
      {"P3S1 sub 2 fail at 16: limit", {0, 2, PS(3, 1), 0x20, 16}, 0x02, {0, 2, PS(3, 1), 0x20, 17}, {5}, Reset30},
      {"P3S1 sub 3 fail at 7: 8 valid", {0, 2, PS(3, 1), 0x30, 7}, 0x02, {0, 2, PS(3, 1), 0x30, 8}, {3}, Goes},
      {"P3S1 sub 4 fail at 6: limit", {0, 2, PS(3, 1), 0x40, 6}, 0x02, {0, 2, PS(3, 1), 0x40, 7}, {5}, Reset30},
      {"P3S2 fail at 21: limit", {0, 2, PS(3, 2), 0x10, 21}, 0x02, {0, 2, PS(3, 2), 0x10, 22}, {5}, Reset30},
      {"P3S3 fail: next down", {0, 2, PS(3, 3), 0x10, 0xFF}, 0x02, {0, 2, PS(3, 3), 0x10, 0xFE}, {3}, Goes},
      {"P3S3 fail at 0xFE with pmem: DDR", {0, 2, PS(3, 3), 0x10, 0xFE, 0x08}, 0x02, {0, 2, PS(3, 3), 0x10, 0xFF, 0x08}, {3}, Goes},
      {"P3S3 fail at 1: limit", {0, 2, PS(3, 3), 0x10, 1}, 0x02, {0, 2, PS(3, 3), 0x10, 0}, {5}, Reset30},
      {"P3S4 fail: next core", {0, 2, PS(3, 4), 0x10, 5}, 0x02, {0, 2, PS(3, 4), 0x10, 4}, {3}, Goes},
      {"P3S4 sub 1 fail at 1: the CPU", {0, 2, PS(3, 4), 0x10, 1}, 0x02, {0, 2, PS(4, 4), 0x10, 0}, {4}, Reset30},
      {"P3S4 sub 5 fail at 1: second pass", {0, 2, PS(3, 4), 0x50, 1}, 0x02, {0, 2, PS(3, 4), 0x51, 0xFF}, {3}, Goes},
      {"P3S4 second pass ends: the CPU", {0, 2, PS(3, 4), 0x51, 1}, 0x02, {0, 2, PS(4, 4), 0x51, 0}, {4}, Reset30},
      {"P3 other step fail: nothing", {0, 2, PS(3, 7), 0x10, 1}, 0x02, {0, 2, PS(3, 7), 0x10, 1}, {3}, Goes},
      {"P3 success: found", {1, 2, PS(3, 2), 0x10, 7}, 0x02, {1, 2, PS(4, 2), 0x10, 7}, {4}, Reset30},
      {"P4: isolation boot", {1, 2, PS(4, 2), 0x10, 7}, 0x06, {0, 2, PS(4, 2), 0x10, 7}, {3}, Goes},
      {"P9 passes through", {0, 2, PS(9, 9)}, 0x02, {0, 2, PS(9, 9)}, {3}, Goes},
      {"withdrawn diagnosis ends", {0, 2, PS(3, 2), 0x10, 7}, 0x00, {}, {2}, Reset30},
      {"withdrawn minimum boot ends at once", {0, 1}, 0x00, {}, {}, ResetNow},
      {"minimum boot starts", {0, 0}, 0x01, {0, 1}, {}, Goes},
      {"minimum boot continues", {0, 1}, 0x01, {0, 1}, {}, Goes},
      {"invalid mode is cleared", {0x11, 5, 0x33, 0x44, 5, 6, 7}, 0x00, {}, {}, Goes},
      {"CPLD absent: no request", {0, 0, 0x12}, 0xFF, {}, {}, Goes},
      {"reset during memory init is not counted", {0x11, 2, PS(1, 1)}, 0x02, {0x41, 2, PS(1, 1)}, {}, Goes},
      {"bit 6 cleared, inconsistent flags cleared", {0x43, 2, PS(1, 1)}, 0x02, {0, 2, PS(1, 2)}, {3}, Goes},
      {"fatal error ends the diagnosis", {0, 2, PS(2, 2), 0x10, 0, 0, 5}, 0x02, {0, 2, PS(2, 2), 0x10, 0, 0, 5}, {5}, Reset30},
      {"fatal error of a good boot is ignored", {1, 2, PS(1, 1), 0, 0, 0x02}, 0x02, {0, 2, PS(2, 1), 0x10, 0, 0x02}, {3}, Goes},
  };
  for (const auto& c : cases) {
    Outcome o = boot(c.in, c.request);
    EXPECT_EQ(o.record, c.out) << c.name;
    EXPECT_EQ(types(o), c.reports) << c.name;
    BootEndKind end = c.end == Goes ? BootEndKind::Completed : BootEndKind::ColdReset;
    EXPECT_EQ(o.end, end) << c.name;
    if (c.end == Reset30) EXPECT_GE(o.virtualNs, k30s) << c.name;
    if (c.end == ResetNow) EXPECT_LT(o.virtualNs, k30s) << c.name;
  }
}

TEST(FaultIsolatePei, ProgressTexts) {
  struct Case {
    Record in;
    std::string text;
  } cases[] = {
      {{0, 2, PS(2, 1), 0x10}, "Hardware Diagnosis Boot: Current status is booting with all usb devices connected to PCH disabled."},
      {{0, 2, PS(2, 2), 0x10}, "Hardware Diagnosis Boot: Current status is booting with all pcie devices connected to CPU2's IIO disabled."},
      {{0, 2, PS(2, 4), 0x80}, "Hardware Diagnosis Boot: Current status is booting with CPUs disabled that start from CPU 6 ."},
      {{1, 2, PS(4, 3), 0x20, 5}, "Hardware Isolation Boot: Current status is normal boot with failed device disabled."},
  };
  for (const auto& c : cases) {
    Outcome o = boot(c.in, 0x02);
    ASSERT_EQ(types(o), std::vector<int>{3}) << c.text;
    EXPECT_EQ(o.reports[0].text(), c.text);
    const uint8_t* snap = o.reports[0].payload.data();
    std::vector<uint8_t> cmos = {o.record.flags, o.record.mode, o.record.phaseStep, o.record.subStep,
                                 o.record.testIndex, o.record.exceptionFlags, o.record.exceptionCode, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(snap, snap + 10), cmos) << "snapshot of the new state";
  }
}

TEST(FaultIsolatePei, ResultReports) {
  struct Case {
    Record in;
    uint8_t request;
    std::map<uint16_t, uint8_t> cpld;
    int type;
    uint8_t kind, owner;
    uint16_t detail;
    std::string text;
  } cases[] = {
      {{1, 2, PS(3, 1), 0x10, 3}, 0x06, {}, 4, 0x88, 1, 3,
       "Diagnosis succeeded. PCIe device (location is onboard NIC) connected to root port 3 of the PCH failed. The PCIe device will be disabled."},
      {{1, 2, PS(3, 1), 0x10, 7}, 0x02, {}, 4, 0x88, 1, 7,
       "Diagnosis succeeded. PCIe device (location is M.2-SSD1) connected to root port 7 of the PCH failed."},
      {{1, 2, PS(3, 1), 0x10, 40}, 0x02, {}, 4, 0x88, 1, 40,
       "Diagnosis succeeded. PCIe device connected to root port 40 of the PCH failed."},
      {{1, 2, PS(3, 2), 0x10, 7}, 0x02, {{0x145, 4}}, 4, 0x83, 1, 0x0407,
       "Diagnosis succeeded. PCIe device connected to IIO port 2B of CPU 1 - slot 4 failed."},
      {{1, 2, PS(3, 2), 0x20, 21}, 0x06, {}, 4, 0x83, 2, 0xFF15,
       "Diagnosis succeeded. PCIe device connected to IIO port 5D of CPU 2 failed. The port will be disabled."},
      {{1, 2, PS(3, 3), 0x20, 0xFE}, 0x02, {}, 4, 0x82, 2, 0x8000, "Diagnosis succeeded. NVDIMMs of CPU 2 failed."},
      {{1, 2, PS(3, 3), 0x10, 3, 0x08}, 0x06, {}, 4, 0x82, 1, 0x8003,
       "Diagnosis succeeded. Memory module B0 of CPU 1 failed. The memory module and the corresponding memory modules and NVDIMMs will be disabled."},
      {{1, 2, PS(3, 3), 0x20, 16}, 0x06, {}, 4, 0x82, 2, 16,
       "Diagnosis succeeded. Memory module H1 of CPU 2 failed. The memory module and the corresponding memory modules will be disabled."},
      {{1, 2, PS(3, 1), 0x20, 4}, 0x02, {}, 4, 0x87, 1, 4, "Diagnosis succeeded. USB device (location is rear up) failed."},
      {{1, 2, PS(3, 1), 0x20, 5}, 0x02, {}, 4, 0x87, 1, 5, "Diagnosis succeeded. USB device (location is internal port 1) failed."},
      {{1, 2, PS(3, 1), 0x20, 7}, 0x06, {}, 4, 0x87, 1, 7,
       "Diagnosis succeeded. USB device (location is left ear) failed. The USB device will be disabled."},
      {{1, 2, PS(3, 1), 0x20, 13}, 0x02, {}, 4, 0x87, 1, 13, "Diagnosis succeeded. USB device (location is double SD) failed."},
      {{1, 2, PS(3, 1), 0x20, 1}, 0x02, {}, 4, 0x87, 1, 1, "Diagnosis succeeded. USB device failed."},
      {{1, 2, PS(3, 1), 0x20, 99}, 0x02, {}, 4, 0x87, 1, 99, "Diagnosis succeeded. USB device failed."},
      {{1, 2, PS(3, 1), 0x30, 2}, 0x06, {}, 4, 0x85, 1, 2,
       "Diagnosis succeeded. SATA device connected to SATA port 2 of the PCH failed. The port will be disabled."},
      {{1, 2, PS(3, 1), 0x40, 2}, 0x02, {}, 4, 0x86, 1, 2,
       "Diagnosis succeeded. SATA device (location is M.2-SSD2) connected to sSATA port 2 of the PCH failed."},
      {{1, 2, PS(3, 1), 0x40, 5}, 0x02, {}, 4, 0x86, 1, 5, "Diagnosis succeeded. SATA device connected to sSATA port 5 of the PCH failed."},
      {{1, 2, PS(3, 4), 0x20, 9}, 0x06, {}, 4, 0x81, 2, 9,
       "Diagnosis succeeded. Core 9 of CPU 2 failed.  The CPU core will be disabled."},
      {{0, 2, PS(3, 4), 0x10, 1}, 0x06, {}, 4, 0x81, 1, 0, "Diagnosis succeeded. CPU 1 failed.  The CPU will be disabled."},
      {{0, 2, PS(2, 2), 0x10, 0, 0x02, 0x23}, 0x02, {}, 5, 0x03, 1, 0, "Hardware Diagnosis Exception: RC Internal Fatal Error 0xf2 0x23."},
      {{0, 2, PS(2, 2), 0x10, 0, 0x34, 0x23}, 0x02, {}, 5, 0x03, 1, 0, "Hardware Diagnosis Exception: Other Fatal Error 0x23 0x3."},
      {{0, 2, PS(2, 2), 0x10, 0, 0, 5}, 0x02, {}, 5, 0x03, 1, 0,
       "Hardware Diagnosis Exception: Interleave ways exceeded max channel of IMC."},
      {{1, 2, PS(0, 0)}, 0x02, {}, 5, 0x10, 0, 0, "Diagnosis pre-check: Normal startup succeeded. No need to perform diagnosis."},
      {{0, 2, PS(0, 1), 0x05, 3}, 0x02, {}, 5, 0x20, 1, 0x0503,
       "Diagnosis pre-check: Minimum-configuration startup fails with CPU 1 core 5 and memory module B0. Please check if the CPU, memory module, or motherboard fails and replace the failed component."},
      {{0, 2, PS(2, 2), 0x20}, 0x02, {}, 5, 0x03, 0, 0, "Diagnosis failed. PCIe device might have failed."},
      {{0, 2, PS(3, 2), 0x20, 21}, 0x02, {}, 5, 0x03, 2, 0, "Diagnosis failed. PCIe device connected to CPU 2 might have failed."},
      {{0, 2, PS(3, 3), 0x10, 1}, 0x02, {}, 5, 0x02, 1, 0, "Diagnosis failed. Memory module connected to CPU 1 might have failed."},
      {{0, 2, PS(2, 1), 0x40}, 0x02, {}, 5, 0x04, 1, 0,
       "Diagnosis failed. SATA, USB, or PCIe device connected to the PCH might have failed."},
      {{0, 2, PS(3, 1), 0x20, 16}, 0x02, {}, 5, 0x07, 1, 0, "Diagnosis failed. USB device connected to the PCH might have failed."},
  };
  for (const auto& c : cases) {
    Outcome o = boot(c.in, c.request, c.cpld);
    ASSERT_EQ(types(o), std::vector<int>{c.type}) << c.text;
    const Report& r = o.reports[0];
    EXPECT_EQ(r.text(), c.text);
    EXPECT_EQ(r.kind(), c.kind) << c.text;
    EXPECT_EQ(r.owner(), c.owner) << c.text;
    EXPECT_EQ(r.detail(), c.detail) << c.text;
  }
}

TEST(FaultIsolatePei, ExceptionInfoBytes) {
  Outcome o = boot({0, 2, PS(2, 2), 0x10, 0, 0x02, 0x23}, 0x02);
  ASSERT_EQ(o.reports.size(), 1u);
  EXPECT_EQ(o.reports[0].info(), 0xFF02F223u);
}

TEST(FaultIsolatePei, SlotRegisterOfEachIioPort) {
  std::map<uint16_t, uint8_t> slots;
  for (uint16_t r = Cpld::kSlotFirst; r <= Cpld::kSlotLast; ++r) slots[r] = uint8_t(r - 0x100);
  struct Case {
    uint8_t port, socket;
    uint8_t slot;   // register - 0x100, or 0xFF
  } cases[] = {{2, 1, 0x40}, {5, 1, 0x43}, {6, 1, 0x44}, {7, 2, 0x55}, {10, 1, 0x48}, {13, 1, 0x4B},
               {14, 1, 0x48}, {17, 1, 0x4B}, {18, 1, 0x4C}, {21, 1, 0x4F}, {21, 2, 0x5F}, {1, 1, 0xFF}, {22, 1, 0xFF}};
  for (const auto& c : cases) {
    Outcome o = boot({1, 2, PS(3, 2), uint8_t(c.socket << 4), c.port}, 0x02, slots);
    ASSERT_EQ(o.reports.size(), 1u);
    EXPECT_EQ(o.reports[0].detail() >> 8, c.slot) << int(c.port) << "/" << int(c.socket);
  }
}

TEST(FaultIsolatePei, CpldAnswersOnlyThroughTheOpenWindow) {
  BoardConfig b = defaultBoard();
  b.modules = {};
  b.cpld.registers[Cpld::kRequest] = 0x02;
  BootSession s(b, {});
  s.start();
  uint32_t base = s.cpld().base();
  auto& memory = s.machine().memory;
  const uint64_t pcr = 0xFDEF2740, lpc = 0x800F8098;   // DMI copy, LPC bridge 0:1F.0 0x98
  struct Case {
    uint32_t pcrValue, lpcValue;
    uint32_t read;
  } cases[] = {{0, 0, 0xFF}, {base | 1, 0, 0xFF}, {0, base | 1, 0xFF}, {base | 1, (base + 0x10000) | 1, 0xFF},
               {base | 1, base | 1, 0x02}, {base, base, 0xFF}};
  for (const auto& c : cases) {
    memory.write(pcr, 4, c.pcrValue);
    memory.write(lpc, 4, c.lpcValue);
    EXPECT_EQ(memory.read(base + 0x13, 1), c.read) << std::hex << c.pcrValue << " " << c.lpcValue;
  }
  memory.write(pcr, 4, base | 1);
  memory.write(lpc, 4, base | 1);
  EXPECT_EQ(memory.read(base + 0x140, 1), 0x01u) << "the default board's first slot";
  EXPECT_EQ(memory.read(base + 0x200, 1), 0xFFu) << "an unimplemented register";
}

TEST(FaultIsolatePei, CpldKeysOfTheBoardFileAreStrict) {
  struct Case {
    nlohmann::json cpld;
    std::string key;
  } cases[] = {{{{"bogus", 1}}, "cpld.bogus"},
               {{{"request", 256}}, "cpld.request"},
               {{{"slots", {{"cpu3", "01"}}}}, "cpld.slots.cpu3"},
               {{{"slots", {{"cpu1", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11"}}}}, "cpld.slots.cpu1"}};
  for (const auto& c : cases) {
    try {
      boardWith({{"cpld", c.cpld}});
      ADD_FAILURE() << c.key;
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key, c.key) << e.what();
    }
  }
  EXPECT_EQ(boardWith({{"cpld", {{"registers", {{"0x155", 4}}}}}}).cpld.registers.at(0x155), 4);
}

TEST(FaultIsolatePei, TypeTwoWaitsThirtySecondsAndLogsEachReport) {
  Outcome o = boot({0, 2, PS(1, 1)}, 0x00);
  EXPECT_NE(o.log.find("ZubRasHwDiagSendDyl: TYPE: 2   status Success\n"), std::string::npos);
  EXPECT_NE(o.log.find("ZubHwDiagDoColdReset     write cf9 to 0xE\n"), std::string::npos);
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

// Through the IPMI relay module to the BMC, which decodes each report into the event log.
TEST(FaultIsolatePei, TheBmcDecodesTheReportsOfADiagnosisStart) {
  BoardConfig b = defaultBoard();
  b.modules = {"IpmiRelayPei", "FaultIsolatePei"};
  b.dispatchOrder = {"IpmiRelayPei", "FaultIsolatePei"};
  b.timeline = {TimelineStep{}};
  b.cpld.registers[Cpld::kRequest] = 0x02;
  BootSession s(b, {});
  EXPECT_EQ(s.run().end, BootEndKind::Completed);
  auto reports = s.events().ofType("dyl_report");
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0]["diagnosis"], "start");
  EXPECT_EQ(reports[0]["class"], "0x0A");
  EXPECT_EQ(reports[0]["attribute"], "0x0000");
  EXPECT_EQ(reports[0]["length_ok"], true);
  EXPECT_EQ(reports[1]["diagnosis"], "progress");
  EXPECT_EQ(reports[1]["snapshot"], "00 02 00 00 00 00 00 00 00 00");
  EXPECT_EQ(reports[1]["text"], "Hardware Diagnosis Boot: Current status is in preparing phase.");
}

}  // namespace
}  // namespace zub
