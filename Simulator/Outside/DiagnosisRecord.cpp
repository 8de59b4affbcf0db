#include "DiagnosisRecord.h"

#include "Devices/Cmos.h"

namespace zub {

DiagnosisRecord DiagnosisRecord::read(Cmos& cmos) {
  DiagnosisRecord r;
  uint8_t* fields[] = {&r.flags, &r.mode, &r.phaseStep, &r.subStepByte, &r.testIndex, &r.exceptionFlags, &r.exceptionCode};
  for (uint8_t i = 0; i < 7; ++i) *fields[i] = cmos.byte(uint8_t(kFirstIndex + i));
  return r;
}

void DiagnosisRecord::write(Cmos& cmos) const {
  const uint8_t fields[] = {flags, mode, phaseStep, subStepByte, testIndex, exceptionFlags, exceptionCode};
  for (uint8_t i = 0; i < 7; ++i) cmos.setByte(uint8_t(kFirstIndex + i), fields[i]);
}

std::string DiagnosisRecord::describe() const {
  return "mode " + std::to_string(mode) + " phase " + std::to_string(phase()) + " step " + std::to_string(step()) +
         " substep " + std::to_string(subStep()) + " ext " + std::to_string(extInfo()) + " index " +
         std::to_string(testIndex);
}

}  // namespace zub
