// The board file's "memory" section: its mistakes name their key, its values land in the
// reference code's blocks and in the SocketMemoryConfig variable.
#include <gtest/gtest.h>

#include <cstring>

#include <Guid/SocketMemoryVariable.h>
#include <RefCode/RcMemoryTest.h>

#include "Board/BoardFile.h"
#include "Foundation/Guid.h"

namespace zub {
namespace {

TEST(BoardMemory, MistakesNameTheirKey) {
  struct Case {
    const char* json;
    const char* key;
    const char* says;
  } cases[] = {
      {R"({"memory": {"test": {"vendors": ["hynix", "intel"]}}})", "memory.test.vendors[1]", "hynix, samsung or micron"},
      {R"({"memory": {"test": {"vdd": 65536}}})", "memory.test.vdd", "out of range"},
      {R"({"memory": {"test_switch": 256}})", "memory.test_switch", "out of range"},
      {R"({"memory": {"sockets": [{}, {}, {}, {}, {}]}})", "memory.sockets[4]", "at most 4"},
      {R"({"memory": {"sockets": [{"channel_status": "01 01 01 01 01 01 01 01 01"}]}})", "memory.sockets[0].channel_status",
       "at most 8"},
      {R"({"memory": {"dimms": [{"channel": 8}]}})", "memory.dimms[0].channel", "out of range"},
      {R"({"memory": {"dimms": [{"socket": 1}, {"socket": 1}]}})", "memory.dimms[1].slot", "another DIMM"},
      {R"({"memory": {"dimms": [{"part_number": "123456789012345678901"}]}})", "memory.dimms[0].part_number",
       "at most 20"},
      {R"({"memory": {"dimms": [{"serial": "01 02 03"}]}})", "memory.dimms[0].serial", "4 bytes"},
      {R"({"memory": {"dimms": [{"records": [{}, {}, {}, {}, {}, {}]}]}})", "memory.dimms[0].records", "at most 5"},
      {R"({"memory": {"dimms": [{"records": [{"temp": -2147483649}]}]}})", "memory.dimms[0].records[0].temp",
       "out of range"},
      {R"({"memory": {"dimms": [{"records": [{"column": 1, "colour": 2}]}]}})", "memory.dimms[0].records[0].colour",
       "unknown key"},
  };
  for (const auto& c : cases) {
    try {
      parseBoardText(c.json, "(test)");
      ADD_FAILURE() << c.json;
    } catch (const BoardFileError& e) {
      EXPECT_EQ(e.key, c.key) << c.json;
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << c.json << " -> " << e.what();
    }
  }
}

TEST(BoardMemory, ValuesReachTheReferenceCodesBlocksAndTheSetupVariable) {
  BoardConfig b = parseBoardText(R"({"memory": {
      "test": {"vendors": ["micron", "hynix"], "param_mode": 2, "vdd": 1250, "twr": 9, "trefi": 3900,
               "pause": "0x12345678", "loops": 7, "ppr": 1, "dimm_ppr_count": 3, "socket_ppr_count": 12},
      "test_switch": 5,
      "sockets": [{"channel_status": "01 00 01"}, {"present": false}],
      "dimms": [{"socket": 1, "channel": 7, "slot": 1, "manufacturer": "0x2C00", "year": "0x21", "week": "0x52",
                 "serial": "DE AD BE EF", "part_number": "MTA36",
                 "records": [{}, {"status": 4, "rank": 3, "bg": 2, "bank": 1, "row": "0x12345", "column": 9,
                              "dq": -1, "temp": "0xFFFFFFF6"}]}]}})",
                                 "(test)");
  ReferenceCode rc(b.refCode);
  writeMemoryTestData(b.memory, rc);
  RC_MEMORY_TEST_OPTIONS o;
  std::memcpy(&o, rc.setupData().data() + RC_SETUP_MEMORY_TEST_OFFSET, sizeof(o));
  EXPECT_EQ(+o.Options, RC_AMT_HYNIX_ENABLE | RC_AMT_MICRON_ENABLE);
  EXPECT_EQ(+o.ParamMode, 2);
  EXPECT_EQ(+o.CustomVdd, 1250);
  EXPECT_EQ(+o.CustomTwr, 9);
  EXPECT_EQ(+o.CustomTrefi, 3900);
  EXPECT_EQ(+o.CustomPause, 0x12345678u);
  EXPECT_EQ(+o.Loops, 7);
  EXPECT_EQ(+o.Ppr, 1);
  EXPECT_EQ(+o.DimmPprCount, 3);
  EXPECT_EQ(+o.SocketPprCount, 12);

  const auto* t = reinterpret_cast<const RC_MEMORY_TOPOLOGY*>(rc.sysHost().data() + RC_SYSHOST_MEMORY_OFFSET);
  EXPECT_EQ(+t->Socket[0].Present, 1);
  EXPECT_EQ(+t->Socket[1].Present, 0);
  EXPECT_EQ(+t->Socket[2].Present, 0) << "sockets not listed are absent";
  EXPECT_EQ(+t->Socket[0].Channel[0].TestStatus, 1);
  EXPECT_EQ(+t->Socket[0].Channel[1].TestStatus, 0);
  EXPECT_EQ(+t->Socket[0].Channel[2].TestStatus, 1);
  EXPECT_EQ(+t->Socket[0].Channel[3].TestStatus, 0);
  const RC_AMT_DIMM& d = t->Socket[1].Channel[7].Dimm[1];
  EXPECT_EQ(+d.Present, 1);
  EXPECT_EQ(+d.ManufacturerId, 0x2C00);
  EXPECT_EQ(+d.ManufactureYear, 0x21);
  EXPECT_EQ(+d.ManufactureWeek, 0x52);
  EXPECT_EQ(std::memcmp(d.SerialNumber, "\xDE\xAD\xBE\xEF", 4), 0);
  EXPECT_EQ(std::string(d.PartNumber, sizeof(d.PartNumber)), "MTA36               ") << "blank padded";
  EXPECT_EQ(+d.PprRecord[0].Status, 0);
  EXPECT_EQ(+d.PprRecord[1].Status, 4);
  EXPECT_EQ(+d.PprRecord[1].Rank, 3);
  EXPECT_EQ(+d.PprRecord[1].BankGroup, 2);
  EXPECT_EQ(+d.PprRecord[1].Bank, 1);
  EXPECT_EQ(+d.PprRecord[1].Row, 0x12345u);
  EXPECT_EQ(+d.PprRecord[1].Column, 9u);
  EXPECT_EQ(+d.PprRecord[1].Dq, 0xFFFFFFFFu);
  EXPECT_EQ(+d.PprRecord[1].Temperature, 0xFFFFFFF6u);
  EXPECT_EQ(+t->Socket[0].Channel[0].Dimm[0].Present, 0);

  const Variable* v = nullptr;
  for (const auto& n : b.nvram)
    if (n.name == u"SocketMemoryConfig" && n.guid == gSocketMemoryVariableGuid) v = &n;
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->data.size(), size_t(SOCKET_MEMORY_CONFIG_SIZE));
  for (size_t i = 0; i < v->data.size(); ++i) EXPECT_EQ(v->data[i], i == 75 ? 5 : 0) << i;
}

TEST(BoardMemory, TheSwitchGoesIntoTheBoardsOwnVariable) {
  BoardConfig b = parseBoardText(R"({"nvram": [{"name": "SocketMemoryConfig",
      "guid": "4A7F3C21-9B8D-4E65-A2C1-7D3E5F0B8C94", "data": "11 22 33"}], "memory": {"test_switch": 1}})",
                                 "(test)");
  ASSERT_EQ(b.nvram.size(), 1u);
  ASSERT_EQ(b.nvram[0].data.size(), size_t(SOCKET_MEMORY_CONFIG_SIZE)) << "grown to hold byte 75";
  EXPECT_EQ(b.nvram[0].data[0], 0x11);
  EXPECT_EQ(b.nvram[0].data[2], 0x33);
  EXPECT_EQ(b.nvram[0].data[75], 1);
}

}  // namespace
}  // namespace zub
