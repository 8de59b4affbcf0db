// The board file's "memory" section: what the reference code's advanced memory test left
// for PEI (its options in the setup data; sockets, channels, DIMM identities and repair
// records in the host data) and the memory test switch, byte 75 of the SocketMemoryConfig
// setup variable in the board's NVRAM.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zub {

class JsonReader;
class ReferenceCode;
struct BoardConfig;

struct AmtRecordConfig {
  uint8_t status = 0, rank = 0, bankGroup = 0, bank = 0;
  uint32_t row = 0, column = 0, dq = 0, temperature = 0;
};

struct MemoryDimmConfig {
  uint8_t socket = 0, channel = 0, slot = 0;
  bool present = true;
  uint16_t manufacturer = 0;             // JEDEC ID as the reference code keeps it (0xCE00 Samsung)
  uint8_t yearBcd = 0, weekBcd = 0;      // BCD bytes: 0x21 is 2021
  std::array<uint8_t, 4> serial{};
  std::string partNumber;                // blank padded to 20 characters
  std::vector<AmtRecordConfig> records;  // at most 5
};

struct MemorySocketConfig {
  bool present = false;
  std::array<uint8_t, 8> channelStatus{};   // 1: the channel's test passed
};

struct MemoryTestConfig {
  uint32_t optionWord = 0;   // vendor test enables in bits 16-18
  uint8_t paramMode = 0, twr = 0, ppr = 0, dimmPprCount = 0, socketPprCount = 0;
  uint16_t vdd = 0, trefi = 0, loops = 0;
  uint32_t pause = 0;
  std::array<MemorySocketConfig, 4> sockets{};
  std::vector<MemoryDimmConfig> dimms;
};

// Reads "memory" from the board file's root object; "memory.test_switch" goes into the
// SocketMemoryConfig variable of the board's NVRAM.
void parseBoardMemory(JsonReader& root, BoardConfig& board);

// Lays the memory test data into the reference code's setup and host data blocks.
void writeMemoryTestData(const MemoryTestConfig& config, ReferenceCode& referenceCode);

}  // namespace zub
