#include "NvarStore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace zub {

namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void put24(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8), b[at + 2] = uint8_t(v >> 16);
}
uint32_t get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t get24(const uint8_t* p) { return p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16); }
uint32_t get32(const uint8_t* p) { return get24(p) | (uint32_t(p[3]) << 24); }
std::string hex(uint64_t v) {
  char b[20];
  std::snprintf(b, sizeof b, "0x%llX", static_cast<unsigned long long>(v));
  return b;
}

uint8_t flagsOf(const NvarRecord& r) {
  if (r.flags) return *r.flags;
  uint8_t f = r.valid ? nvar::kValid : 0;
  if (r.dataOnly) return f | nvar::kDataOnly;
  if (r.guid) f |= nvar::kGuid;
  if (r.asciiName) f |= nvar::kAsciiName;
  return f;
}

// A valid data-only record of `size` bytes: padding that matches no name.
NvarRecord padding(size_t size) {
  NvarRecord p;
  p.dataOnly = true;
  p.data.assign(size - nvar::kHeaderSize, 0xFF);
  return p;
}

void appendPadding(std::vector<uint8_t>& out, size_t gap) {
  while (gap > 0) {
    // Pieces of at most 0xFFFF bytes, none shorter than a header.
    size_t piece = std::min<size_t>(gap, 0xFFFF);
    if (gap - piece != 0 && gap - piece < nvar::kHeaderSize) piece -= nvar::kHeaderSize;
    auto bytes = encodeNvarRecord(padding(piece));
    out.insert(out.end(), bytes.begin(), bytes.end());
    gap -= piece;
  }
}

}  // namespace

std::vector<uint8_t> encodeNvarRecord(const NvarRecord& r) {
  std::vector<uint8_t> out(nvar::kHeaderSize, 0);
  std::memcpy(out.data(), "NVAR", 4);
  out[9] = flagsOf(r);
  if (!r.dataOnly) {
    if (r.guid) {
      const auto* g = reinterpret_cast<const uint8_t*>(&*r.guid);
      out.insert(out.end(), g, g + sizeof(EFI_GUID));
    } else {
      out.push_back(r.guidIndex);
    }
    for (char c : r.name) {
      out.push_back(uint8_t(c));
      if (!r.asciiName) out.push_back(0);
    }
    if (!r.unterminatedName) out.insert(out.end(), r.asciiName ? 1 : 2, 0);
  }
  std::vector<uint8_t> data = r.nested ? buildNvramStore(*r.nested).bytes : r.data;
  out.insert(out.end(), data.begin(), data.end());
  if (out.size() > 0xFFFF) throw std::invalid_argument("record \"" + r.name + "\" is larger than 0xFFFF bytes");
  put16(out, 4, r.size ? *r.size : uint32_t(out.size()));
  put24(out, 6, r.next ? *r.next : 0);
  return out;
}

NvramStoreImage buildNvramStore(const std::vector<NvarRecord>& records, size_t size) {
  NvramStoreImage image;
  std::vector<std::vector<uint8_t>> encoded;
  for (const auto& r : records) encoded.push_back(encodeNvarRecord(r));
  for (size_t i = 0; i < records.size(); ++i) {
    size_t at = image.bytes.size();
    if (records[i].offset && *records[i].offset != at) {
      if (*records[i].offset < at || *records[i].offset - at < nvar::kHeaderSize)
        throw std::invalid_argument("record " + std::to_string(i) + " cannot start at offset " +
                                    std::to_string(*records[i].offset) + ": the records before it end at " +
                                    std::to_string(at));
      appendPadding(image.bytes, *records[i].offset - at);
      at = image.bytes.size();
    }
    image.offsets.push_back(at);
    image.bytes.insert(image.bytes.end(), encoded[i].begin(), encoded[i].end());
  }
  // Next fields that name a later record.
  for (size_t i = 0; i < records.size(); ++i) {
    if (!records[i].nextRecord) continue;
    size_t j = *records[i].nextRecord;
    if (j >= records.size() || j <= i)
      throw std::invalid_argument("record " + std::to_string(i) + ": next_record must name a later record");
    put24(image.bytes, image.offsets[i] + 6, uint32_t(image.offsets[j] - image.offsets[i]));
  }
  if (size != 0) {
    if (image.bytes.size() > size)
      throw std::invalid_argument("the records take " + std::to_string(image.bytes.size()) +
                                  " bytes, the store holds " + std::to_string(size));
    image.bytes.resize(size, 0xFF);
  }
  return image;
}

namespace {

// Reads the record at `at`; nullopt with the reason when no whole record is there.
std::optional<NvarView> readRecord(const uint8_t* store, size_t size, size_t at, std::string* why) {
  if (size - at < nvar::kHeaderSize) {
    *why = size == at ? "end of store" : "a partial header before the end of the store";
    return std::nullopt;
  }
  const uint8_t* p = store + at;
  if (get32(p) != nvar::kSignature) {
    *why = get32(p) == 0xFFFFFFFF ? "erased" : "no signature";
    return std::nullopt;
  }
  NvarView v;
  v.offset = at;
  v.size = uint16_t(get16(p + 4));
  v.next = get24(p + 6);
  v.flags = p[9];
  if (v.size < nvar::kHeaderSize) {
    *why = "size " + std::to_string(v.size);
    return std::nullopt;
  }
  if (v.size > size - at) {
    *why = "size " + std::to_string(v.size) + " runs past the store";
    return std::nullopt;
  }
  if (v.flags & nvar::kDataOnly) {
    v.dataOffset = nvar::kHeaderSize;
  } else {
    size_t nameAt = nvar::kHeaderSize;
    if (v.flags & nvar::kGuid) {
      if (v.size >= nameAt + sizeof(EFI_GUID)) {
        EFI_GUID g;
        std::memcpy(&g, p + nameAt, sizeof g);
        v.guid = g;
      }
      nameAt += sizeof(EFI_GUID);
    } else {
      if (v.size > nameAt) v.guidIndex = p[nameAt];
      nameAt += 1;
    }
    size_t unit = v.ascii() ? 1 : 2;
    size_t i = nameAt;
    v.terminated = false;
    for (; i + unit <= v.size; i += unit) {
      if (p[i] == 0 && (unit == 1 || p[i + 1] == 0)) {
        v.terminated = true;
        break;
      }
      v.name.push_back(char(p[i]));
    }
    v.dataOffset = v.terminated ? i + unit : v.size;
  }
  v.dataSize = v.dataOffset <= v.size ? v.size - v.dataOffset : 0;
  return v;
}

}  // namespace

NvramStoreWalk walkNvramStore(const uint8_t* store, size_t size) {
  NvramStoreWalk w;
  size_t at = 0;
  for (;;) {
    auto v = readRecord(store, size, at, &w.stop);
    if (!v) break;
    w.records.push_back(*v);
    at += v->size;
  }
  w.end = at;
  return w;
}

NvarChain followNvarChain(const uint8_t* store, size_t size, size_t offset) {
  NvarChain c;
  std::string why;
  for (size_t at = offset;;) {
    c.hops.push_back(at);
    auto v = readRecord(store, size, at, &why);
    if (!v) {
      c.problem = "no record at " + hex(at) + " (" + why + ")";
      return c;
    }
    if (v->next == 0 || v->next == nvar::kNextNone) return c;
    if (v->next > size - at) {
      c.problem = "next " + hex(v->next) + " from " + hex(at) + " leaves the store";
      return c;
    }
    at += v->next;   // always forward: the chain ends
  }
}

}  // namespace zub
