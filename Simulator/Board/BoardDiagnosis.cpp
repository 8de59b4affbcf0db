#include "BoardDiagnosis.h"

#include "BoardConfig.h"
#include "Devices/Cpld.h"
#include "JsonReader.h"

namespace zub {

namespace {

// "cpld": {"request": 0x02, "slots": {"cpu1": [..16 bytes..], "cpu2": [...]},
//          "registers": {"0x13": 2}}
void parseCpld(JsonReader r, CpldConfig& c) {
  if (r.has("request")) c.registers[Cpld::kRequest] = uint8_t(r.integer("request", 0, 0, 0xFF));
  JsonReader slots = r.object("slots");
  for (int cpu = 1; cpu <= 2; ++cpu) {
    std::string key = "cpu" + std::to_string(cpu);
    if (!slots.has(key)) continue;
    std::vector<uint8_t> bytes = slots.bytes(key);
    if (bytes.size() > 16) slots.fail(key, "at most 16 slot numbers (IIO ports 1A-5D of the CPU)");
    for (size_t i = 0; i < bytes.size(); ++i) c.registers[uint16_t(Cpld::kSlotFirst + 16 * (cpu - 1) + i)] = bytes[i];
  }
  for (auto& [index, value] : r.entries("registers")) {
    uint16_t i = uint16_t(JsonReader::toInteger(index, value.path(), 0, 0xFFFF));
    c.registers[i] = uint8_t(JsonReader::toInteger(value.value(), value.path(), 0, 0xFF));
  }
}

}  // namespace

void parseBoardDiagnosis(JsonReader& root, BoardConfig& board) { parseCpld(root.object("cpld"), board.cpld); }

}  // namespace zub
