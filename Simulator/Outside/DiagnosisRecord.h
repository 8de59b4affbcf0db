// The diagnosis record in the standard CMOS bank (0x73-0x79) as the firmware outside the
// system reads and writes it: Flags (bit 0 BootSuccess), Mode, Phase/Step, SubStep/ExtInfo
// (in Phase 0 Step 1 the whole byte is the core under test), TestIndex, ExceptionFlags
// (bit 1 internal, bit 2 other fatal error, bit 3 persistent memory present, bits 7-4 the
// minor code's low nibble) and ExceptionCode.
#pragma once
#include <cstdint>
#include <string>

namespace zub {

class Cmos;

struct DiagnosisRecord {
  static constexpr uint8_t kFirstIndex = 0x73;
  static constexpr uint8_t kBootSuccess = 0x01;
  static constexpr uint8_t kModeMinimumBoot = 0x01, kModeDiagnosis = 0x02;
  static constexpr uint8_t kExceptionInternal = 0x02, kExceptionOther = 0x04, kPersistentMemory = 0x08;

  uint8_t flags = 0, mode = 0, phaseStep = 0, subStepByte = 0, testIndex = 0, exceptionFlags = 0, exceptionCode = 0;

  unsigned phase() const { return phaseStep >> 4; }
  unsigned step() const { return phaseStep & 0x0F; }
  unsigned subStep() const { return subStepByte >> 4; }
  unsigned extInfo() const { return subStepByte & 0x0F; }

  bool operator==(const DiagnosisRecord&) const = default;

  static DiagnosisRecord read(Cmos& cmos);
  void write(Cmos& cmos) const;
  // "mode 2 phase 3 step 3 substep 2 ext 0 index 16"
  std::string describe() const;
};

}  // namespace zub
