// The platform's NVRAM variable store as NVAR records: building a store from records (the
// board's flash, `zubsim nvram build`) and walking any store, however damaged (`zubsim
// nvram dump`, tests). A record is a 10-byte header (signature "NVAR", Size, 24-bit Next,
// Flags), a GUID field (16 bytes with flag 0x04, else a 1-byte index), a zero-terminated
// name (ASCII with flag 0x02, else UCS-2) and the data; a data-only record (0x08) has
// neither GUID field nor name.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <Uefi/UefiBaseType.h>

namespace zub {

namespace nvar {
constexpr uint32_t kSignature = 0x5241564E;
constexpr size_t kHeaderSize = 10;
constexpr uint32_t kNextNone = 0xFFFFFF;
constexpr uint8_t kValid = 0x80, kDataOnly = 0x08, kGuid = 0x04, kAsciiName = 0x02;
}  // namespace nvar

struct NvarRecord {
  std::string name;
  bool asciiName = true;             // flag 0x02; else a UCS-2 name
  std::optional<EFI_GUID> guid;      // flag 0x04; else the 1-byte guidIndex
  uint8_t guidIndex = 0;
  bool dataOnly = false;             // flag 0x08: no GUID field, no name
  bool valid = true;                 // flag 0x80
  std::vector<uint8_t> data;
  std::optional<std::vector<NvarRecord>> nested;   // data is a store of these records
  // What a damaged store holds instead of the right values.
  std::optional<uint8_t> flags;      // the Flags byte as written
  std::optional<uint32_t> size;      // the Size field as written
  std::optional<uint32_t> next;      // the Next field as written
  std::optional<size_t> nextRecord;  // Next = distance to that later record of the same store
  std::optional<size_t> offset;      // where the record starts in its store
  bool unterminatedName = false;     // the name without its terminator
};

struct NvramStoreImage {
  std::vector<uint8_t> bytes;
  std::vector<size_t> offsets;       // of each record given, in the order given
};

// Records back to back; a record placed further on (`offset`) has the gap before it filled
// by valid data-only padding records; the rest up to `size` is erased flash (0xFF). Throws
// std::invalid_argument when the records do not fit or cannot be placed.
NvramStoreImage buildNvramStore(const std::vector<NvarRecord>& records, size_t size = 0);
std::vector<uint8_t> encodeNvarRecord(const NvarRecord& record);

// One record as found in a store.
struct NvarView {
  size_t offset = 0;
  uint16_t size = 0;
  uint32_t next = 0;
  uint8_t flags = 0;
  std::optional<EFI_GUID> guid;
  int guidIndex = -1;
  std::string name;                  // UCS-2 names narrowed to their low bytes
  bool terminated = true;            // the name's terminator lies inside the record
  size_t dataOffset = 0;             // from the record's start
  size_t dataSize = 0;
  bool valid() const { return flags & nvar::kValid; }
  bool ascii() const { return flags & nvar::kAsciiName; }
};

struct NvramStoreWalk {
  std::vector<NvarView> records;
  size_t end = 0;                    // where the walk stopped
  std::string stop;                  // why: "end of store", "erased", "no signature", "size 0", ...
};

// Walks the records by their Size, from the start to the first position that holds no
// whole record.
NvramStoreWalk walkNvramStore(const uint8_t* store, size_t size);

// The record reached by following Next from the record at `offset`, or why not.
struct NvarChain {
  std::vector<size_t> hops;          // record offsets, the first one included
  std::string problem;               // empty when the chain ends on a record inside the store
};
NvarChain followNvarChain(const uint8_t* store, size_t size, size_t offset);

}  // namespace zub
