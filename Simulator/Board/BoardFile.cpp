#include "BoardFile.h"

#include <array>
#include <ctime>
#include <iomanip>
#include <fstream>
#include <sstream>

#include "Bmc/BmcPeiParam.h"
#include "BoardWarningLog.h"
#include "Foundation/Guid.h"
#include "LogoImages.h"
#include "Platform/PcdDatabase.h"

namespace zub {

namespace {

int64_t parseUtc(const std::string& text, const std::string& key) {
  std::tm tm{};
  std::istringstream in(text);
  in >> std::get_time(&tm, "%Y-%m-%d %H:%M:%S");
  if (in.fail() || !in.eof()) throw BoardFileError(key, "expected \"YYYY-MM-DD HH:MM:SS\" (UTC), got \"" + text + "\"");
  return static_cast<int64_t>(timegm(&tm));
}

void parseCpu(JsonReader r, BoardConfig& b) {
  b.cpuid[1].eax = static_cast<uint32_t>(r.integer("cpuid_leaf1_eax", 0x606A6, 0, 0xFFFFFFFF));
  // The processor type and revision as the reference code's CPU-and-revision service reports them.
  b.refCode.cpuType = static_cast<uint8_t>(r.integer("rc_type", b.refCode.cpuType, 0, 0xFF));
  b.refCode.cpuRevision = static_cast<uint8_t>(r.integer("rc_revision", b.refCode.cpuRevision, 0, 0xFF));
}

void parseRtc(JsonReader r, BoardConfig& b) {
  if (r.has("time")) b.rtc.startEpoch = parseUtc(r.string("time", ""), r.keyPath("time"));
  b.rtc.binary = r.boolean("binary", b.rtc.binary);
  b.rtc.hour24 = r.boolean("hour24", b.rtc.hour24);
  b.rtc.registerD = static_cast<uint8_t>(r.integer("register_d", b.rtc.registerD, 0, 0xFF));
}

void parseCmosBank(JsonReader& parent, const std::string& key, std::map<uint8_t, uint8_t>& bank) {
  for (auto& [index, value] : parent.entries(key)) {
    uint8_t i = static_cast<uint8_t>(JsonReader::toInteger(index, value.path(), 0, 0x7F));
    bank[i] = static_cast<uint8_t>(JsonReader::toInteger(value.value(), value.path(), 0, 0xFF));
  }
}

void parseCmos(JsonReader r, BoardConfig& b) {
  parseCmosBank(r, "standard", b.cmosStandard);
  parseCmosBank(r, "upper", b.cmosUpper);
}

std::u16string utf16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

void parseNvram(JsonReader& root, BoardConfig& b) {
  root.each("nvram", [&](JsonReader& v) {
    Variable var;
    var.name = utf16(v.string("name", ""));
    if (var.name.empty()) v.fail("name", "a variable needs a name");
    auto g = guidFromString(v.string("guid", ""));
    if (!g) v.fail("guid", "expected a GUID in registry format");
    var.guid = *g;
    var.attributes = static_cast<uint32_t>(v.integer("attributes", 7, 0, 0xFFFFFFFF));
    var.data = v.bytes("data");
    b.nvram.push_back(std::move(var));
  });
}

void parsePcds(JsonReader& root, BoardConfig& b) {
  for (auto& [name, value] : root.entries("pcd")) {
    const PcdDefinition* d = findPcd(name);
    if (!d) throw BoardFileError(value.path(), "unknown PCD");
    PcdOverride o{d->token};
    if (d->type == PcdType::Ptr) {
      o.isText = true;
      if (value.value().is_string()) {
        std::string s = value.value().get<std::string>();
        o.bytes.assign(s.begin(), s.end());
        o.bytes.push_back(0);
      } else {
        o.bytes = JsonReader::toBytes(value.value(), value.path());
      }
      if (o.bytes.size() > d->maxSize)
        throw BoardFileError(value.path(), "needs " + std::to_string(o.bytes.size()) + " bytes, the PCD holds " +
                                               std::to_string(d->maxSize));
    } else {
      uint64_t max = d->type == PcdType::U8 ? 0xFF : d->type == PcdType::U16 ? 0xFFFF
                   : d->type == PcdType::U32 ? 0xFFFFFFFF : d->type == PcdType::Bool ? 1 : ~uint64_t(0);
      const nlohmann::json& v = value.value();
      o.number = v.is_boolean() ? (v.get<bool>() ? 1 : 0) : JsonReader::toInteger(v, value.path(), 0, max);
    }
    b.pcds.push_back(std::move(o));
  }
}

std::string boundedText(JsonReader& r, const std::string& key, size_t width) {
  std::string s = r.string(key, "");
  if (s.size() > width) r.fail(key, "at most " + std::to_string(width) + " characters");
  return s;
}

void parseBmcPeiParam(JsonReader r, BoardConfig& b) {
  BmcPeiParamConfig p;   // absent: a block of zeros
  auto u32 = [&](const char* key) { return static_cast<uint32_t>(r.integer(key, 0, 0, 0xFFFFFFFF)); };
  p.oemFlag = u32("oem_flag");
  p.checkArea = u32("check_area");
  p.customId = u32("custom_id");
  p.forceCleanLogoCache = u32("force_clean_logo_cache");
  p.netIfMode = u32("net_if_mode");
  p.dedicatedIpv4 = boundedText(r, "dedicated_ipv4", kIpv4Field);
  p.dedicatedIpv6 = boundedText(r, "dedicated_ipv6", kIpv6Field);
  p.shareIpv4 = boundedText(r, "share_ipv4", kIpv4Field);
  p.shareIpv6 = boundedText(r, "share_ipv6", kIpv6Field);
  p.xDragonSlot = u32("xdragon_slot");
  p.moc15Slot = u32("moc15_slot");
  p.dataLength = static_cast<uint32_t>(r.integer("data_length", kBmcPeiParamSize, 0, kBmcPeiParamSize));
  b.bmc.peiParam = bmcPeiParamBytes(p);
}

void parseQuickTransfer(JsonReader r, BoardConfig& b) {
  QuickTransferConfig& q = b.bmc.quickTransfer;
  q.enabled = r.boolean("enabled", q.enabled);
  q.failFirstTriggers = static_cast<uint32_t>(r.integer("fail_first_triggers", 0, 0, 1000));
  q.corruptHeaderCrc = r.boolean("corrupt_header_crc", false);
  q.corruptDataCrc = r.boolean("corrupt_data_crc", false);
  q.overlongAnswer = r.boolean("overlong_answer", false);
  q.fileSizeExcess = static_cast<uint32_t>(r.integer("file_size_excess", 0, 0, 0xFFFFFFFF));
}

void parseBmcFiles(JsonReader& r, BoardConfig& b) {
  r.each("files", [&](JsonReader& f) {
    std::string name = f.string("name", "");
    if (name.empty() || name.size() > 127) f.fail("name", "a file needs a name of 1 to 127 characters");
    if (f.has("text") == f.has("data")) f.fail("", "give one of text or data");
    std::vector<uint8_t> bytes;
    if (f.has("text")) {
      std::string t = f.string("text", "");
      bytes.assign(t.begin(), t.end());
    } else {
      bytes = f.bytes("data");
    }
    if (bytes.size() > 0xFFF00) f.fail("data", "at most 1048320 bytes fit the answer area");
    b.bmc.files.emplace_back(name, std::move(bytes));
  });
}

// "bmc.volatile": the values the BMC leaves in the volatile store's slots.
void parseBmcVolatileSlots(JsonReader r, BoardConfig& b) {
  BmcVolatileSlots& v = b.bmc.volatileSlots;
  auto u32 = [&](const char* key) { return static_cast<uint32_t>(r.integer(key, 0, 0, 0xFFFFFFFF)); };
  if (r.has("boot_option")) v.bootOption = u32("boot_option");
  if (r.has("debug_mode_request")) v.debugModeRequest = u32("debug_mode_request");
  if (r.has("option_words")) {
    std::array<uint32_t, 4> words{};
    size_t n = 0;
    r.each("option_words", [&](JsonReader& w) {
      if (n == 4) throw BoardFileError(w.path(), "four option words");
      words[n++] = static_cast<uint32_t>(JsonReader::toInteger(w.value(), w.path(), 0, 0xFFFFFFFF));
    });
    if (n != 4) r.fail("option_words", "four option words");
    v.optionWords = words;
  }
}

void parseBmcBootOptions(JsonReader r, BoardConfig& b) {
  BmcBootOptions& o = b.bmcBootOptions;
  o.setInProgressPolls = static_cast<unsigned>(r.integer("set_in_progress_polls", 0, 0, 100000));
  o.acknowledge = static_cast<uint8_t>(r.integer("acknowledge", 0, 0, 0xFF));
  if (r.has("boot_flags")) {
    std::vector<uint8_t> flags = r.bytes("boot_flags");
    if (flags.size() != 5) r.fail("boot_flags", "the boot flags parameter has 5 data bytes");
    std::copy(flags.begin(), flags.end(), o.bootFlags);
  }
  o.oemConfig = r.boolean("oem_config", o.oemConfig);
  o.oemFlag = static_cast<uint8_t>(r.integer("oem_flag", 0, 0, 0xFF));
  o.oemBootMode = static_cast<uint8_t>(r.integer("oem_boot_mode", o.oemBootMode, 0, 0xFF));
  o.evortFailures = static_cast<unsigned>(r.integer("evort_failures", 0, 0, 100000));
}

void parseBmc(JsonReader r, BoardConfig& b) {
  b.bmc.present = r.boolean("present", b.bmc.present);
  b.bmc.responseDelayNs = r.integer("response_delay_us", 0, 0, 60'000'000) * 1000;
  parseBmcPeiParam(r.object("pei_param"), b);
  parseQuickTransfer(r.object("quick_transfer"), b);
  parseBmcFiles(r, b);
  if (r.boolean("customer_logos", true)) addCustomerLogos(b.bmc);
  parseBmcBootOptions(r.object("boot_options"), b);
  parseBmcVolatileSlots(r.object("volatile"), b);
}

TimelineStep parseStep(JsonReader& s) {
  TimelineStep t;
  int kinds = s.has("dispatch") + s.has("status_code") + s.has("install") + s.has("wait_us") + s.has("iio_init");
  if (kinds != 1) s.fail("", "a step has exactly one of dispatch, status_code, install, wait_us, iio_init");
  if (s.has("iio_init")) {
    t.kind = TimelineStep::Kind::IioInit;
    if (!s.boolean("iio_init", true)) s.fail("iio_init", "must be true");
  } else if (s.has("dispatch")) {
    if (!s.boolean("dispatch", true)) s.fail("dispatch", "must be true");
  } else if (s.has("status_code")) {
    t.kind = TimelineStep::Kind::StatusCode;
    JsonReader c = s.object("status_code");
    t.codeType = static_cast<uint32_t>(c.integer("type", 1, 0, 0xFFFFFFFF));
    t.codeValue = static_cast<uint32_t>(c.integer("value", 0, 0, 0xFFFFFFFF));
    t.repeat = static_cast<uint32_t>(c.integer("repeat", 1, 1, 100000));
    int payloads = c.has("text") + c.has("data") + c.has("u32") + c.has("no_data");
    if (payloads > 1) c.fail("", "give one of text, data, u32, no_data");
    if (c.has("text")) {
      std::string text = c.string("text", "");
      t.payload.assign(text.begin(), text.end());
      t.payload.push_back(0);
    } else if (c.has("u32")) {
      uint32_t v = static_cast<uint32_t>(c.integer("u32", 0, 0, 0xFFFFFFFF));
      for (int i = 0; i < 4; ++i) t.payload.push_back(uint8_t(v >> (8 * i)));
    } else if (c.has("data")) {
      t.payload = c.bytes("data");
    } else if (c.has("no_data")) {
      t.withData = !c.boolean("no_data", false);
    }
  } else if (s.has("install")) {
    t.kind = TimelineStep::Kind::Install;
    t.ppi = s.choice("install", "", installablePpis());
  } else {
    t.kind = TimelineStep::Kind::Wait;
    t.waitNs = s.integer("wait_us", 0, 0, 3'600'000'000ull) * 1000;
  }
  return t;
}

PciNodeConfig parsePciNode(JsonReader& n) {
  PciNodeConfig c;
  c.device = static_cast<uint8_t>(n.integer("device", 0, 0, 31));
  c.function = static_cast<uint8_t>(n.integer("function", 0, 0, 7));
  c.identity.vendor = static_cast<uint16_t>(n.integer("vendor_id", 0x8086, 0, 0xFFFE));
  c.identity.device = static_cast<uint16_t>(n.integer("device_id", 0, 0, 0xFFFF));
  c.identity.classCode = static_cast<uint32_t>(n.integer("class_code", 0, 0, 0xFFFFFF));
  c.identity.revision = static_cast<uint8_t>(n.integer("revision", 0, 0, 0xFF));
  n.each("bars", [&](JsonReader& bar) {
    uint64_t size = JsonReader::toInteger(bar.value(), bar.path(), 0, 0x80000000);
    if (size & (size - 1)) throw BoardFileError(bar.path(), "a BAR size is 0 or a power of two");
    c.barSizes.push_back(static_cast<uint32_t>(size));
  });
  if (c.barSizes.size() > 6) n.fail("bars", "at most 6 BARs");
  c.model = n.string("model", "");
  c.bridge = n.boolean("bridge", false);
  n.each("children", [&](JsonReader& child) { c.children.push_back(parsePciNode(child)); });
  return c;
}

void parsePci(JsonReader r, BoardConfig& b) {
  if (r.has("behind_root_port")) {
    b.behindRootPort.emplace();
    r.each("behind_root_port", [&](JsonReader& n) { b.behindRootPort->push_back(parsePciNode(n)); });
  }
  r.each("bus0", [&](JsonReader& n) { b.moreOnBus0.push_back(parsePciNode(n)); });
}

void parseIio(JsonReader r, BoardConfig& b) {
  for (auto& [offset, value] : r.entries("block")) {
    uint64_t o = JsonReader::toInteger(offset, value.path(), 0, kIioDataBlockSize - 1);
    std::vector<uint8_t> bytes = JsonReader::toBytes(value.value(), value.path());
    if (bytes.size() > kIioDataBlockSize - o) throw BoardFileError(value.path(), "runs past the IIO data block");
    b.iioData[uint32_t(o)] = std::move(bytes);
  }
}

void parseFirmware(JsonReader r, BoardConfig& b) {
  b.modules = r.strings("modules");
  b.dispatchOrder = r.strings("order");
}

}  // namespace

BoardConfig parseBoard(const nlohmann::json& root) {
  if (!root.is_object()) throw BoardFileError("(board)", "the board file must be a JSON object");
  BoardConfig b;
  JsonReader r(root, "");
  b.name = r.string("name", "board");
  r.string("description", "");
  parseCpu(r.object("cpu"), b);
  parseRtc(r.object("rtc"), b);
  parseCmos(r.object("cmos"), b);
  parseNvram(r, b);
  parsePcds(r, b);
  parseBmc(r.object("bmc"), b);
  r.each("timeline", [&](JsonReader& s) { b.timeline.push_back(parseStep(s)); });
  parseFirmware(r.object("firmware"), b);
  parsePci(r.object("pci"), b);
  parseIio(r.object("iio"), b);
  parseBoardDiagnosis(r, b);
  parseBoardMemory(r, b);
  parseBoardWarningLog(r, b);
  parseBoardFlash(r, b);
  parseBoardNvram(r, b);
  b.videoMemoryMb = static_cast<uint32_t>(r.integer("video_memory_mb", b.videoMemoryMb, 8, 256));
  if (b.videoMemoryMb & (b.videoMemoryMb - 1)) r.fail("video_memory_mb", "must be a power of two");
  return b;
}

namespace {
nlohmann::json readBoardJson(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BoardFileError(path.string(), "cannot read the board file");
  std::stringstream ss;
  ss << in.rdbuf();
  nlohmann::json j = nlohmann::json::parse(ss.str(), nullptr, false);
  if (j.is_discarded()) throw BoardFileError(path.string(), "not valid JSON");
  return j;
}

// "base": "default" (the embedded default board) or the path of another board file,
// relative to this one: this file then lists only what differs from its base.
nlohmann::json resolveBase(nlohmann::json j, const std::filesystem::path& dir, int depth) {
  if (!j.is_object() || !j.contains("base")) return j;
  if (!j["base"].is_string()) throw BoardFileError("base", "expected \"default\" or the path of a board file");
  if (depth > 8) throw BoardFileError("base", "bases nest more than 8 deep");
  std::string base = j["base"];
  j.erase("base");
  if (base == "default") return mergeBoard(nlohmann::json::parse(defaultBoardText()), j);
  std::filesystem::path path = dir / base;
  return mergeBoard(resolveBase(readBoardJson(path), path.parent_path(), depth + 1), j);
}
}  // namespace

BoardConfig parseBoardText(const std::string& text, const std::string& origin) {
  nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_discarded()) throw BoardFileError(origin, "not valid JSON");
  return parseBoard(resolveBase(std::move(j), std::filesystem::current_path(), 0));
}

BoardConfig loadBoardFile(const std::filesystem::path& path) {
  return parseBoard(resolveBase(readBoardJson(path), path.parent_path(), 0));
}

nlohmann::json mergeBoard(nlohmann::json base, const nlohmann::json& changes) {
  if (!base.is_object() || !changes.is_object()) return changes;
  for (auto& [k, v] : changes.items()) base[k] = base.contains(k) ? mergeBoard(base[k], v) : v;
  return base;
}

BoardConfig defaultBoard() { return parseBoardText(defaultBoardText(), "(default board)"); }

BoardConfig boardWith(const nlohmann::json& changes) {
  return parseBoard(mergeBoard(nlohmann::json::parse(defaultBoardText()), changes));
}

}  // namespace zub
