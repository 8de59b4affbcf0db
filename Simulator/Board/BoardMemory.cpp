#include "BoardMemory.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <Guid/SocketMemoryVariable.h>
#include <RefCode/RcMemoryTest.h>

#include "BoardConfig.h"
#include "Foundation/Guid.h"
#include "JsonReader.h"
#include "Platform/ReferenceCode.h"

namespace zub {

namespace {

static_assert(RC_SETUP_MEMORY_TEST_OFFSET + sizeof(RC_MEMORY_TEST_OPTIONS) <= kRcSetupDataSize);

struct VendorBit {
  const char* name;
  uint32_t bit;
};
const VendorBit kVendorBits[] = {
    {"hynix", RC_AMT_HYNIX_ENABLE}, {"samsung", RC_AMT_SAMSUNG_ENABLE}, {"micron", RC_AMT_MICRON_ENABLE}};

void parseTest(JsonReader r, MemoryTestConfig& m) {
  std::vector<std::string> names;
  for (const auto& v : kVendorBits) names.push_back(v.name);
  r.each("vendors", [&](JsonReader& v) {
    if (!v.value().is_string()) throw BoardFileError(v.path(), "expected a vendor name");
    const std::string name = v.value().get<std::string>();
    auto it = std::find_if(std::begin(kVendorBits), std::end(kVendorBits), [&](const VendorBit& b) { return name == b.name; });
    if (it == std::end(kVendorBits)) throw BoardFileError(v.path(), "expected hynix, samsung or micron");
    m.optionWord |= it->bit;
  });
  m.paramMode = uint8_t(r.integer("param_mode", m.paramMode, 0, 0xFF));
  m.vdd = uint16_t(r.integer("vdd", m.vdd, 0, 0xFFFF));
  m.twr = uint8_t(r.integer("twr", m.twr, 0, 0xFF));
  m.trefi = uint16_t(r.integer("trefi", m.trefi, 0, 0xFFFF));
  m.pause = uint32_t(r.integer("pause", m.pause, 0, 0xFFFFFFFF));
  m.loops = uint16_t(r.integer("loops", m.loops, 0, 0xFFFF));
  m.ppr = uint8_t(r.integer("ppr", m.ppr, 0, 0xFF));
  m.dimmPprCount = uint8_t(r.integer("dimm_ppr_count", m.dimmPprCount, 0, 0xFF));
  m.socketPprCount = uint8_t(r.integer("socket_ppr_count", m.socketPprCount, 0, 0xFF));
}

void parseSockets(JsonReader& r, MemoryTestConfig& m) {
  size_t index = 0;
  r.each("sockets", [&](JsonReader& s) {
    if (index >= m.sockets.size()) throw BoardFileError(s.path(), "at most 4 sockets");
    MemorySocketConfig& socket = m.sockets[index++];
    socket.present = s.boolean("present", true);
    std::vector<uint8_t> status = s.bytes("channel_status");
    if (status.size() > socket.channelStatus.size()) s.fail("channel_status", "at most 8 channels");
    std::copy(status.begin(), status.end(), socket.channelStatus.begin());
  });
}

AmtRecordConfig parseRecord(JsonReader& r) {
  AmtRecordConfig c;
  c.status = uint8_t(r.integer("status", 0, 0, 0xFF));
  c.rank = uint8_t(r.integer("rank", 0, 0, 0xFF));
  c.bankGroup = uint8_t(r.integer("bg", 0, 0, 0xFF));
  c.bank = uint8_t(r.integer("bank", 0, 0, 0xFF));
  c.row = uint32_t(r.integer("row", 0, 0, 0xFFFFFFFF));
  c.column = uint32_t(r.integer("column", 0, 0, 0xFFFFFFFF));
  // DQ and temperature are signed in the report; the raw 32-bit value is taken as well.
  c.dq = uint32_t(r.signedInteger("dq", 0, INT32_MIN, UINT32_MAX));
  c.temperature = uint32_t(r.signedInteger("temp", 0, INT32_MIN, UINT32_MAX));
  return c;
}

void parseDimms(JsonReader& r, MemoryTestConfig& m) {
  r.each("dimms", [&](JsonReader& d) {
    MemoryDimmConfig c;
    c.socket = uint8_t(d.integer("socket", 0, 0, RC_MAX_SOCKET - 1));
    c.channel = uint8_t(d.integer("channel", 0, 0, RC_MAX_CH - 1));
    c.slot = uint8_t(d.integer("slot", 0, 0, RC_MAX_DIMM - 1));
    for (const auto& other : m.dimms)
      if (other.socket == c.socket && other.channel == c.channel && other.slot == c.slot)
        d.fail("slot", "another DIMM sits in this slot");
    c.present = d.boolean("present", true);
    c.manufacturer = uint16_t(d.integer("manufacturer", 0, 0, 0xFFFF));
    c.yearBcd = uint8_t(d.integer("year", 0, 0, 0xFF));
    c.weekBcd = uint8_t(d.integer("week", 0, 0, 0xFF));
    if (d.has("serial")) {
      std::vector<uint8_t> serial = d.bytes("serial");
      if (serial.size() != c.serial.size()) d.fail("serial", "a serial number has 4 bytes");
      std::copy(serial.begin(), serial.end(), c.serial.begin());
    }
    c.partNumber = d.string("part_number", "");
    if (c.partNumber.size() > sizeof(RC_AMT_DIMM::PartNumber)) d.fail("part_number", "at most 20 characters");
    c.partNumber.resize(sizeof(RC_AMT_DIMM::PartNumber), ' ');
    d.each("records", [&](JsonReader& rec) { c.records.push_back(parseRecord(rec)); });
    if (c.records.size() > RC_AMT_MAX_RECORDS) d.fail("records", "at most 5 repair records");
    m.dimms.push_back(std::move(c));
  });
}

// Byte 75 of SocketMemoryConfig: into the board's variable, or a variable of its own.
void setTestSwitch(BoardConfig& b, uint8_t value) {
  const std::u16string name = SOCKET_MEMORY_CONFIG_VARIABLE_NAME;
  auto it = std::find_if(b.nvram.begin(), b.nvram.end(),
                         [&](const Variable& v) { return v.name == name && v.guid == gSocketMemoryVariableGuid; });
  if (it == b.nvram.end()) {
    Variable v;
    v.name = name;
    v.guid = gSocketMemoryVariableGuid;
    v.data.assign(SOCKET_MEMORY_CONFIG_SIZE, 0);
    b.nvram.push_back(std::move(v));
    it = b.nvram.end() - 1;
  }
  constexpr size_t at = OFFSET_OF(SOCKET_MEMORY_CONFIGURATION, AdvMemTestEnable);
  if (it->data.size() <= at) it->data.resize(SOCKET_MEMORY_CONFIG_SIZE, 0);
  it->data[at] = value;
}

}  // namespace

void parseBoardMemory(JsonReader& root, BoardConfig& board) {
  JsonReader r = root.object("memory");
  MemoryTestConfig& m = board.memory;
  parseTest(r.object("test"), m);
  parseSockets(r, m);
  parseDimms(r, m);
  if (r.has("test_switch")) setTestSwitch(board, uint8_t(r.integer("test_switch", 0, 0, 0xFF)));
}

void writeMemoryTestData(const MemoryTestConfig& m, ReferenceCode& referenceCode) {
  RC_MEMORY_TEST_OPTIONS o{};
  o.Options = m.optionWord;
  o.ParamMode = m.paramMode;
  o.CustomVdd = m.vdd;
  o.CustomTwr = m.twr;
  o.CustomTrefi = m.trefi;
  o.CustomPause = m.pause;
  o.Loops = m.loops;
  o.Ppr = m.ppr;
  o.DimmPprCount = m.dimmPprCount;
  o.SocketPprCount = m.socketPprCount;
  std::memcpy(referenceCode.setupData().data() + RC_SETUP_MEMORY_TEST_OFFSET, &o, sizeof(o));

  auto topology = std::make_unique<RC_MEMORY_TOPOLOGY>();
  std::memset(topology.get(), 0, sizeof(RC_MEMORY_TOPOLOGY));
  for (size_t s = 0; s < m.sockets.size(); ++s) {
    RC_AMT_SOCKET& socket = topology->Socket[s];
    socket.Present = m.sockets[s].present ? 1 : 0;
    for (size_t ch = 0; ch < RC_MAX_CH; ++ch) socket.Channel[ch].TestStatus = m.sockets[s].channelStatus[ch];
  }
  for (const auto& d : m.dimms) {
    RC_AMT_DIMM& dimm = topology->Socket[d.socket].Channel[d.channel].Dimm[d.slot];
    dimm.Present = d.present ? 1 : 0;
    dimm.ManufacturerId = d.manufacturer;
    dimm.ManufactureYear = d.yearBcd;
    dimm.ManufactureWeek = d.weekBcd;
    std::copy(d.serial.begin(), d.serial.end(), dimm.SerialNumber);
    std::memcpy(dimm.PartNumber, d.partNumber.data(), std::min(d.partNumber.size(), sizeof(dimm.PartNumber)));
    for (size_t i = 0; i < d.records.size() && i < RC_AMT_MAX_RECORDS; ++i) {
      const AmtRecordConfig& c = d.records[i];
      AMT_ERROR_RECORD& rec = dimm.PprRecord[i];
      rec.Status = c.status, rec.Rank = c.rank, rec.BankGroup = c.bankGroup, rec.Bank = c.bank;
      rec.Row = c.row, rec.Column = c.column, rec.Dq = c.dq, rec.Temperature = c.temperature;
    }
  }
  std::memcpy(referenceCode.sysHost().data() + RC_SYSHOST_MEMORY_OFFSET, topology.get(), sizeof(RC_MEMORY_TOPOLOGY));
}

}  // namespace zub
