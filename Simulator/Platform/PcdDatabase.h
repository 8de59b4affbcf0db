// The platform's PCD database: every token the firmware uses, typed, with its default;
// pointer PCDs have a declared maximum size and a set that does not fit fails. Exposed to
// the modules as the PCD service PPI.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <PiPei.h>
#include <Ppi/Pcd.h>

namespace zub {

enum class PcdType { U8, U16, U32, U64, Bool, Ptr };

struct PcdDefinition {
  uint32_t token;
  const char* name;
  PcdType type;
  uint32_t maxSize;        // pointer PCDs: bytes of storage
  uint64_t defaultValue;   // numeric PCDs
  const char* defaultText; // pointer PCDs holding ASCII text (NUL-terminated); may be nullptr
};

const std::vector<PcdDefinition>& pcdDefinitions();
const PcdDefinition* findPcd(const std::string& name);
const PcdDefinition* findPcd(uint32_t token);
const char* pcdTypeName(PcdType type);

class PcdDatabase {
public:
  PcdDatabase();
  // Board overrides, applied before the boot.
  void setNumber(uint32_t token, uint64_t value);
  bool setBytes(uint32_t token, const std::vector<uint8_t>& bytes);   // false: too large

  uint64_t number(uint32_t token) const;
  const std::vector<uint8_t>& bytes(uint32_t token) const;   // pointer PCDs: maxSize bytes of storage
  size_t size(uint32_t token) const;                         // pointer PCDs: current size
  std::string text(uint32_t token) const;                    // pointer PCD up to its first NUL

  const PCD_PPI* ppi() const { return &ppi_; }
  static PcdDatabase* current;   // the database the PPI functions serve
  std::vector<std::string> misuses() const { return misuses_; }   // wrong-type or unknown-token calls

  // The PPI's operations (type-checked; a mismatch is recorded and answered as the PPI
  // on a real board would answer: the value of the named token converted).
  uint64_t get(uint32_t token, PcdType asType);
  void* getPtr(uint32_t token);
  EFI_STATUS set(uint32_t token, PcdType asType, uint64_t value);
  EFI_STATUS setPtr(uint32_t token, UINTN* size, const void* buffer);

private:
  struct Slot {
    const PcdDefinition* def;
    uint64_t value = 0;
    std::vector<uint8_t> storage;
    size_t size = 0;
  };
  Slot* slot(uint32_t token, PcdType asType, const char* op);
  std::map<uint32_t, Slot> slots_;
  std::vector<std::string> misuses_;
  PCD_PPI ppi_{};
};

}  // namespace zub
