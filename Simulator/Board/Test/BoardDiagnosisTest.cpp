// The board file's diagnosis sections: topology and faults read strictly, errors naming
// the key; the default board's topology as its file spells it out.
#include <gtest/gtest.h>

#include "Board/BoardFile.h"

namespace zub {
namespace {

TEST(BoardDiagnosis, TheDefaultBoardSpellsOutItsTopology) {
  BoardConfig b = defaultBoard();
  const BoardTopology& t = b.topology;
  ASSERT_EQ(t.sockets(), 2u);
  EXPECT_GE(t.coresPerCpu, 16u);
  for (const auto& cpu : t.cpus) {
    EXPECT_EQ(cpu.dimms.size(), 16u) << "every memory slot populated";
    EXPECT_TRUE(cpu.persistent.empty());
  }
  EXPECT_EQ(t.cpus[0].iioPorts, (std::set<uint8_t>{2, 3, 6, 7, 10, 18, 19}));
  EXPECT_EQ(t.pchRootPorts, (std::set<uint8_t>{1, 3, 7, 8}));
  EXPECT_EQ(t.usbPorts, (std::set<uint8_t>{1, 3, 4, 5, 6, 7, 11, 13}));
  EXPECT_TRUE(b.faults.devices.empty()) << "no fault by default";
  EXPECT_FALSE(b.faults.memoryFatal);
  EXPECT_TRUE(b.faults.laterFirmware);
  BoardTopology builtIn;
  EXPECT_EQ(t.cpus[1].dimms, builtIn.cpus[1].dimms) << "a board file without topology gets the default board's";
  EXPECT_EQ(t.ssataPorts, builtIn.ssataPorts);
  // The ports the default board has slot numbers for in the CPLD are among its IIO ports.
  for (uint16_t reg : {0x140, 0x141, 0x144, 0x145, 0x14C, 0x14D}) EXPECT_NE(b.cpld.registers.at(reg), 0xFF) << reg;
}

TEST(BoardDiagnosis, TopologyAndFaultsAreRead) {
  BoardConfig b = boardWith({{"topology",
                              {{"cores_per_cpu", 24},
                               {"cpus", {{{"dimms", {"A0", "B0"}}, {"persistent", {"B0"}}, {"iio_ports", {"5D"}}}}},
                               {"sata_ports", {2}}}},
                             {"faults",
                              {{"devices", {"core:1:24", "dimm:1:B0", "sata:2"}},
                               {"memory_fatal", {{"kind", "other"}, {"code", 3}, {"minor", "0x12"}}},
                               {"watchdog_timeout_s", 60}}},
                             {"later_firmware", false}});
  EXPECT_EQ(b.topology.sockets(), 1u);
  EXPECT_EQ(b.topology.coresPerCpu, 24u);
  EXPECT_EQ(b.topology.cpus[0].dimms, (std::set<uint8_t>{1, 3}));
  EXPECT_EQ(b.topology.cpus[0].persistent, (std::set<uint8_t>{3}));
  EXPECT_EQ(b.topology.cpus[0].iioPorts, (std::set<uint8_t>{21}));
  EXPECT_EQ(b.topology.sataPorts, (std::set<uint8_t>{2}));
  EXPECT_EQ(b.faults.devices.size(), 3u);
  ASSERT_TRUE(b.faults.memoryFatal);
  EXPECT_EQ(b.faults.memoryFatal->kind, MemoryFatalError::Kind::Other);
  EXPECT_EQ(b.faults.memoryFatal->code, 3);
  EXPECT_EQ(b.faults.memoryFatal->minor, 0x12);
  EXPECT_EQ(b.faults.watchdogTimeoutNs, 60'000'000'000ull);
  EXPECT_FALSE(b.faults.laterFirmware);
}

TEST(BoardDiagnosis, MalformedValuesNameTheKey) {
  struct Case {
    nlohmann::json changes;
    std::string key;
  } cases[] = {
      {{{"topology", {{"sockets", 2}}}}, "topology.sockets"},
      {{{"topology", {{"cores_per_cpu", 0}}}}, "topology.cores_per_cpu"},
      {{{"topology", {{"cpus", nlohmann::json::array()}}}}, "topology.cpus"},
      {{{"topology", {{"cpus", {{{"dimms", {"A0", "J0"}}}}}}}}, "topology.cpus[0].dimms[1]"},
      {{{"topology", {{"cpus", {{{"dimms", {"A0"}}, {"persistent", {"A1"}}}}}}}}, "topology.cpus[0].persistent"},
      {{{"topology", {{"cpus", {{{"iio_ports", {7}}}}}}}}, "topology.cpus[0].iio_ports[0]"},
      {{{"topology", {{"cpus", {{{"slots", 1}}}}}}}, "topology.cpus[0].slots"},
      {{{"topology", {{"pch_root_ports", {21}}}}}, "topology.pch_root_ports[0]"},
      {{{"topology", {{"usb_ports", {0}}}}}, "topology.usb_ports[0]"},
      {{{"topology", {{"ssata_ports", {7}}}}}, "topology.ssata_ports[0]"},
      {{{"faults", {{"devices", {"usb:2"}}}}}, "faults.devices[0]"},
      {{{"faults", {{"devices", {"usb:3", "core:3:1"}}}}}, "faults.devices[1]"},
      {{{"faults", {{"devices", {"nonsense"}}}}}, "faults.devices[0]"},
      {{{"faults", {{"devices", {5}}}}}, "faults.devices[0]"},
      {{{"faults", {{"memory_fatal", {{"kind", "bad"}, {"code", 1}}}}}}, "faults.memory_fatal.kind"},
      {{{"faults", {{"memory_fatal", {{"kind", "internal"}}}}}}, "faults.memory_fatal.code"},
      {{{"faults", {{"memory_fatal", {{"code", 0}}}}}}, "faults.memory_fatal.code"},
      {{{"faults", {{"watchdog_timeout_s", 0}}}}, "faults.watchdog_timeout_s"},
      {{{"faults", {{"bogus", 0}}}}, "faults.bogus"},
      {{{"later_firmware", "yes"}}, "later_firmware"},
  };
  for (const auto& c : cases) {
    try {
      boardWith(c.changes);
      ADD_FAILURE() << c.key;
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key, c.key) << e.what();
    }
  }
}

}  // namespace
}  // namespace zub
