// The board's CPLD on the LPC bus: 8-bit registers the BMC and the board file set (0x13
// the BMC's diagnosis requests, 0x140-0x15F the IIO slot numbers). The PCH forwards
// memory cycles to it only while the LPC generic memory window is open at its base in
// both range registers; otherwise nothing decodes and reads float to 0xFF. Registers
// the CPLD does not implement read 0xFF as well. Every access that reaches it is traced,
// with the range registers as they stood at that moment.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "Machine/MemoryMap.h"

namespace zub {

class Chipset;

class Cpld : public MemoryDecoder, private MemoryDevice {
public:
  struct Access {
    uint16_t offset;
    unsigned bytes;
    uint32_t value;
    bool write;
    uint32_t lpcRange, dmiRange;   // LPC 0x98 and its DMI copy during the access
  };
  static constexpr uint16_t kRequest = 0x13;
  static constexpr uint8_t kRequestMinimumBoot = 0x01, kRequestDiagnosis = 0x02, kRequestIsolate = 0x04;
  static constexpr uint16_t kSlotFirst = 0x140, kSlotLast = 0x15F;

  Cpld(const Chipset& chipset, uint32_t base, std::map<uint16_t, uint8_t> registers);

  MemoryTarget decode(uint64_t address) override;
  uint8_t reg(uint16_t index) const;
  void setReg(uint16_t index, uint8_t value) { registers_[index] = value; }
  uint32_t base() const { return base_; }
  uint64_t reads() const { return reads_; }
  const std::vector<Access>& accesses() const { return accesses_; }

private:
  void trace(uint64_t offset, unsigned bytes, uint64_t value, bool write);
  uint64_t read(uint64_t offset, unsigned bytes) override;
  void write(uint64_t offset, unsigned bytes, uint64_t value) override;

  const Chipset& chipset_;
  uint32_t base_;
  std::map<uint16_t, uint8_t> registers_;
  uint64_t reads_ = 0;
  std::vector<Access> accesses_;
};

}  // namespace zub
