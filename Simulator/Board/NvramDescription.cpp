#include "NvramDescription.h"

#include <stdexcept>

#include "Foundation/Guid.h"
#include "JsonReader.h"
#include "Platform/SetupDefaults.h"

namespace zub {

namespace {

void parseSetupDefaults(JsonReader r, std::vector<NvarRecord>& out) {
  SetupDefaultsOptions o;
  o.identity.oemFlag = uint8_t(r.integer("oem_flag", 0, 0, 0xFF));
  o.identity.customId = uint8_t(r.integer("custom_id", 0, 0, 0xFF));
  o.identity.hwType = uint8_t(r.integer("hw_type", 0, 0, 0xFF));
  o.fill = uint8_t(r.integer("fill", o.fill, 0, 0xFF));
  o.omit = r.strings("omit");
  for (auto& rec : setupDefaultRecords(o)) out.push_back(std::move(rec));
}

NvarRecord parseRecord(JsonReader& r) {
  NvarRecord rec;
  rec.dataOnly = r.boolean("data_only", false);
  rec.name = r.string("name", "");
  if (rec.name.empty() && !rec.dataOnly) r.fail("name", "a record needs a name (or \"data_only\": true)");
  rec.asciiName = !r.boolean("ucs2", false);
  if (r.has("guid") && r.has("guid_index")) r.fail("", "give one of guid or guid_index");
  if (r.has("guid")) {
    auto g = guidFromString(r.string("guid", ""));
    if (!g) r.fail("guid", "expected a GUID in registry format");
    rec.guid = *g;
  }
  rec.guidIndex = uint8_t(r.integer("guid_index", 0, 0, 0xFF));
  rec.valid = r.boolean("valid", true);
  int contents = r.has("data") + r.has("data_size") + r.has("nested");
  if (contents > 1) r.fail("", "give one of data, data_size, nested");
  if (r.has("fill") && !r.has("data_size")) r.fail("fill", "fills a record given by data_size");
  if (r.has("data")) rec.data = r.bytes("data");
  if (r.has("data_size"))
    rec.data.assign(size_t(r.integer("data_size", 0, 0, 0xFFFF)), uint8_t(r.integer("fill", 0, 0, 0xFF)));
  if (r.has("nested")) rec.nested = parseNvarRecords(r, "nested");
  if (r.has("flags")) rec.flags = uint8_t(r.integer("flags", 0, 0, 0xFF));
  if (r.has("size")) rec.size = uint32_t(r.integer("size", 0, 0, 0xFFFF));
  if (r.has("next") && r.has("next_record")) r.fail("", "give one of next or next_record");
  if (r.has("next")) rec.next = uint32_t(r.integer("next", 0, 0, 0xFFFFFF));
  if (r.has("next_record")) rec.nextRecord = size_t(r.integer("next_record", 0, 0, 0xFFFF));
  if (r.has("offset")) rec.offset = size_t(r.integer("offset", 0, 0, 0x1000000));
  rec.unterminatedName = r.boolean("unterminated_name", false);
  return rec;
}

}  // namespace

std::vector<NvarRecord> parseNvarRecords(JsonReader& parent, const std::string& key) {
  std::vector<NvarRecord> records;
  parent.each(key, [&](JsonReader& item) {
    if (item.has("setup_defaults")) {
      parseSetupDefaults(item.object("setup_defaults"), records);
    } else {
      records.push_back(parseRecord(item));
    }
  });
  return records;
}

NvramStoreDescription parseNvramStoreDescription(JsonReader& r) {
  NvramStoreDescription d;
  d.size = size_t(r.integer("size", 0, 0, 0x1000000));
  d.records = parseNvarRecords(r, "records");
  return d;
}

std::vector<uint8_t> buildDescribedStore(const NvramStoreDescription& d, const std::string& key,
                                         std::vector<size_t>* offsets) {
  try {
    NvramStoreImage image = buildNvramStore(d.records, d.size);
    if (offsets) *offsets = image.offsets;
    return std::move(image.bytes);
  } catch (const std::invalid_argument& e) {
    throw BoardFileError(key, e.what());
  }
}

}  // namespace zub
