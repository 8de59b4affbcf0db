#include "BoardNvram.h"

#include <cstring>

#include <Guid/NvramStore.h>
#include <Pi/PiFirmwareVolume.h>

#include "BoardConfig.h"
#include "Devices/SpiFlash.h"
#include "Foundation/PeiCore.h"
#include "JsonReader.h"
#include "NvramDescription.h"
#include "Platform/PreResetCallbacks.h"
#include "Platform/SetupDefaults.h"

namespace zub {

namespace {

// A store as the platform's setup leaves it: a live Setup variable, a UCS-2 named one,
// then the setup defaults prepared for `identity`.
std::vector<NvarRecord> defaultStoreRecords(const SetupIdentity& identity) {
  NvarRecord setup;
  setup.name = "Setup";
  setup.data.assign(263, 0xA5);
  NvarRecord timeout;
  timeout.name = "Timeout";
  timeout.asciiName = false;
  timeout.guidIndex = 1;
  timeout.data = {0x05, 0x00};
  NvarRecord defaults;
  defaults.name = "StdDefaults";
  defaults.nested = setupDefaultRecords({identity});
  return {setup, timeout, defaults};
}

SetupIdentity parseIdentity(JsonReader r) {
  SetupIdentity id;
  id.oemFlag = uint8_t(r.integer("oem_flag", 0, 0, 0xFF));
  id.customId = uint8_t(r.integer("custom_id", 0, 0, 0xFF));
  id.hwType = uint8_t(r.integer("hw_type", 0, 0, 0xFF));
  return id;
}

// The newest "StdDefaults" the records give: the last valid one with that ASCII name.
std::vector<uint8_t> pristineRecord(const std::vector<NvarRecord>& records, const std::vector<size_t>& offsets,
                                    const std::vector<uint8_t>& image) {
  for (size_t i = records.size(); i-- > 0;) {
    const NvarRecord& r = records[i];
    if (r.name != "StdDefaults" || !r.asciiName || !r.valid || r.dataOnly) continue;
    size_t size = encodeNvarRecord(r).size();
    return std::vector<uint8_t>(image.begin() + offsets[i], image.begin() + offsets[i] + size);
  }
  return {};
}

}  // namespace

void parseBoardNvram(JsonReader& root, BoardConfig& board) {
  NvramStoreConfig& c = board.nvramStore;
  c.preResetCallbacks =
      uint32_t(root.integer("pre_reset_callbacks", c.preResetCallbacks, 0, PreResetCallbacks::kMaxInstances));
  JsonReader r = root.object("nvram_store");
  c.present = r.boolean("present", c.present);
  uint32_t region = board.flash.biosRegionMb << 20;
  c.offset = uint32_t(r.integer("offset", c.offset, 0, region - SpiFlash::kBlockSize));
  c.size = uint32_t(r.integer("size", c.size, nvar::kHeaderSize, region - c.offset));
  if (r.has("identity") && r.has("records")) r.fail("", "give one of identity or records");
  NvramStoreDescription d;
  d.size = c.size;
  d.records = r.has("records") ? parseNvarRecords(r, "records") : defaultStoreRecords(parseIdentity(r.object("identity")));
  bool defaultsFile = r.boolean("defaults_file", true);
  if (!c.present) return;
  std::vector<size_t> offsets;
  c.image = buildDescribedStore(d, r.path(), &offsets);
  if (defaultsFile) c.pristine = pristineRecord(d.records, offsets, c.image);
  board.flash.regions.emplace_back(c.offset, c.image);
}

std::vector<BuiltInFile> setupDefaultsFiles(const BoardConfig& board) {
  if (!board.nvramStore.present || board.nvramStore.pristine.empty()) return {};
  return {{gSetupDefaultsFileGuid, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_RAW, board.nvramStore.pristine}}}};
}

BoardNvram::BoardNvram(const BoardConfig& board, EventLog& events)
    : config_(board.nvramStore), callbacks_(std::make_unique<PreResetCallbacks>(events, config_.preResetCallbacks)) {}

BoardNvram::~BoardNvram() = default;

void BoardNvram::start(PeiCore& core, const SpiFlash& flash) {
  if (config_.present) {
    auto* hob = static_cast<uint8_t*>(
        core.createHob(EFI_HOB_TYPE_GUID_EXTENSION, uint16_t(sizeof(EFI_HOB_GUID_TYPE) + sizeof(NVRAM_HOB_DATA))));
    if (hob) {
      reinterpret_cast<EFI_HOB_GUID_TYPE*>(hob)->Name = gNvramHobGuid;
      NVRAM_HOB_DATA data{flash.base() + config_.offset, 0, config_.size};
      std::memcpy(hob + sizeof(EFI_HOB_GUID_TYPE), &data, sizeof data);
    }
  }
  callbacks_->install(core);
}

}  // namespace zub
