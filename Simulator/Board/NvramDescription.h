// An NVRAM store described in JSON, as the board file's "nvram_store" and `zubsim nvram
// build` read it:
//   {"size": 65536, "records": [RECORD or {"setup_defaults": {...}}, ...]}
// A RECORD is {"name", "ucs2", "guid" | "guid_index", "data_only", "valid",
// "data" | "data_size" + "fill", "nested": [...]} with, for damaged stores, "flags",
// "size", "next", "next_record" (index of a later record), "offset" (where it starts) and
// "unterminated_name". "setup_defaults" stands for the setup variables of "StdDefaults"
// ({"oem_flag", "custom_id", "hw_type", "fill", "omit": [names]}).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "Platform/NvarStore.h"

namespace zub {

class JsonReader;

struct NvramStoreDescription {
  size_t size = 0;                  // 0: as long as the records
  std::vector<NvarRecord> records;
};

std::vector<NvarRecord> parseNvarRecords(JsonReader& parent, const std::string& key);
// Reads "size" and "records" of `r`.
NvramStoreDescription parseNvramStoreDescription(JsonReader& r);
// Builds the store; a store that cannot be built is a BoardFileError naming `key`.
std::vector<uint8_t> buildDescribedStore(const NvramStoreDescription& d, const std::string& key,
                                         std::vector<size_t>* offsets = nullptr);

}  // namespace zub
