#include "NvramCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "Board/JsonReader.h"
#include "Board/NvramDescription.h"
#include "Foundation/Guid.h"
#include "Platform/NvarStore.h"

namespace zub {

namespace {

std::string hex(uint64_t v, int digits) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%0*llX", digits, static_cast<unsigned long long>(v));
  return b;
}

std::string flagText(uint8_t f) {
  std::string t = (f & nvar::kValid) ? "valid" : "deleted";
  if (f & nvar::kDataOnly) return t + ",data-only";
  if (f & nvar::kGuid) t += ",guid";
  return t + ((f & nvar::kAsciiName) ? ",ascii" : ",ucs2");
}

bool holdsStore(const uint8_t* p, size_t n) { return n >= nvar::kHeaderSize && std::memcmp(p, "NVAR", 4) == 0; }

void dumpRecords(std::ostringstream& o, const uint8_t* store, size_t size, const std::string& indent) {
  NvramStoreWalk w = walkNvramStore(store, size);
  for (const auto& r : w.records) {
    o << indent << hex(r.offset, 6) << "  size " << hex(r.size, 4) << "  next "
      << (r.next == 0 || r.next == nvar::kNextNone ? std::string("-       ") : hex(r.next, 6)) << "  flags "
      << hex(r.flags, 2) << " " << flagText(r.flags);
    if (!(r.flags & nvar::kDataOnly)) {
      o << "  " << (r.guid ? guidToString(*r.guid) : "guid #" + std::to_string(r.guidIndex)) << "  \"" << r.name
        << "\"" << (r.terminated ? "" : " (no terminator)");
    }
    o << "  data " << r.dataSize << "\n";
    const uint8_t* data = store + r.offset + r.dataOffset;
    if (holdsStore(data, r.dataSize)) {
      o << indent << "  nested store of " << r.dataSize << " bytes:\n";
      dumpRecords(o, data, r.dataSize, indent + "    ");
    }
  }
  o << indent << "end at " << hex(w.end, 6) << ": " << w.stop << "\n";
  // The Next chains, each from the first record of its chain.
  std::vector<size_t> reached;
  for (const auto& r : w.records) {
    if (r.next == 0 || r.next == nvar::kNextNone) continue;
    if (std::find(reached.begin(), reached.end(), r.offset) != reached.end()) continue;
    NvarChain c = followNvarChain(store, size, r.offset);
    reached.insert(reached.end(), c.hops.begin(), c.hops.end());
    o << indent << "chain \"" << r.name << "\":";
    for (size_t h : c.hops) o << " " << hex(h, 6);
    o << (c.problem.empty() ? "" : "  broken: " + c.problem) << "\n";
  }
}

std::vector<uint8_t> readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string dumpNvramStore(const uint8_t* store, size_t size) {
  std::ostringstream o;
  o << "NVRAM store of " << size << " bytes\n";
  dumpRecords(o, store, size, "");
  return o.str();
}

NvramCommand::NvramCommand(CLI::App& app) {
  nvram_ = app.add_subcommand("nvram", "build or dump an NVRAM variable store (NVAR records)");
  nvram_->require_subcommand(1);
  build_ = nvram_->add_subcommand("build", "build a store from a description (JSON)");
  build_->add_option("description", description_, "the store's description (JSON)")->required()->check(CLI::ExistingFile);
  build_->add_option("output", output_, "the store image to write")->required();
  dump_ = nvram_->add_subcommand("dump", "list the records of a store");
  dump_->add_option("file", file_, "a store image, or a flash image with --offset")->required()->check(CLI::ExistingFile);
  dump_->add_option("--offset", offset_, "where the store starts in the file (flash.bin: 0x800000)");
  dump_->add_option("--size", size_, "bytes of the store (default: to the end of the file)");
}

bool NvramCommand::parsed() const { return nvram_->parsed(); }

int NvramCommand::run(std::ostream& out, std::ostream& err) const {
  try {
    if (build_->parsed()) {
      std::vector<uint8_t> text = readFile(description_);
      nlohmann::json j = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
      if (j.is_discarded() || !j.is_object()) throw BoardFileError(description_.string(), "not a JSON object");
      NvramStoreDescription d;
      {
        JsonReader r(j, "");
        d = parseNvramStoreDescription(r);
      }
      std::vector<uint8_t> image = buildDescribedStore(d, "records");
      std::ofstream o(output_, std::ios::binary | std::ios::trunc);
      o.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
      if (!o) throw std::runtime_error("cannot write " + output_.string());
      out << "wrote " << image.size() << " bytes, " << d.records.size() << " records, to " << output_.string() << "\n";
      return 0;
    }
    std::vector<uint8_t> bytes = readFile(file_);
    if (offset_ > bytes.size()) throw std::runtime_error("--offset lies past the end of " + file_.string());
    uint64_t size = size_ ? size_ : bytes.size() - offset_;
    if (size > bytes.size() - offset_) throw std::runtime_error("--size runs past the end of " + file_.string());
    out << dumpNvramStore(bytes.data() + offset_, size_t(size));
    return 0;
  } catch (const BoardFileError& e) {
    err << "zubsim: nvram description error: " << e.what() << "\n";
  } catch (const std::exception& e) {
    err << "zubsim: " << e.what() << "\n";
  }
  return 2;
}

}  // namespace zub
