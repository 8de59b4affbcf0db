#include "FirmwareVolume.h"

#include <cstring>

namespace zub {
namespace {
uint32_t size24(const uint8_t* s) { return s[0] | (s[1] << 8) | (uint32_t(s[2]) << 16); }
size_t align(size_t v, size_t a) { return (v + a - 1) & ~(a - 1); }
}  // namespace

std::vector<FfsFileView> listFfsFiles(const uint8_t* fv, size_t size) {
  std::vector<FfsFileView> out;
  if (!fv || size < sizeof(EFI_FIRMWARE_VOLUME_HEADER)) return out;
  auto* h = reinterpret_cast<const EFI_FIRMWARE_VOLUME_HEADER*>(fv);
  if (h->Signature != EFI_FVH_SIGNATURE || h->HeaderLength < sizeof(EFI_FIRMWARE_VOLUME_HEADER)) return out;
  size_t limit = h->FvLength < size ? size_t(h->FvLength) : size;
  size_t off = align(h->HeaderLength, 8);
  while (off + sizeof(EFI_FFS_FILE_HEADER) <= limit) {
    auto* f = reinterpret_cast<const EFI_FFS_FILE_HEADER*>(fv + off);
    uint32_t s24 = size24(f->Size);
    if (s24 == 0xFFFFFF && f->Type == 0xFF) break;   // erased flash: end of the files
    size_t headerSize = sizeof(EFI_FFS_FILE_HEADER);
    uint64_t total = s24;
    if (f->Attributes & FFS_ATTRIB_LARGE_FILE) {
      if (off + sizeof(EFI_FFS_FILE_HEADER2) > limit) break;
      headerSize = sizeof(EFI_FFS_FILE_HEADER2);
      total = reinterpret_cast<const EFI_FFS_FILE_HEADER2*>(f)->ExtendedSize;
    }
    if (total < headerSize || total > limit - off) break;
    out.push_back({fv + off, headerSize, size_t(total)});
    off = align(off + size_t(total), 8);
  }
  return out;
}

const uint8_t* findSectionData(const FfsFileView& file, uint8_t type, size_t* dataSize) {
  size_t off = file.headerSize;
  while (off + sizeof(EFI_COMMON_SECTION_HEADER) <= file.totalSize) {
    const uint8_t* s = file.header + off;
    size_t headerSize = sizeof(EFI_COMMON_SECTION_HEADER);
    uint64_t total = size24(s);
    if (total == 0xFFFFFF) {
      if (off + sizeof(EFI_COMMON_SECTION_HEADER2) > file.totalSize) return nullptr;
      headerSize = sizeof(EFI_COMMON_SECTION_HEADER2);
      total = reinterpret_cast<const EFI_COMMON_SECTION_HEADER2*>(s)->ExtendedSize;
    }
    if (total < headerSize || total > file.totalSize - off) return nullptr;
    if (s[3] == type) {
      if (dataSize) *dataSize = size_t(total) - headerSize;
      return s + headerSize;
    }
    off = align(off + size_t(total), 4);
  }
  return nullptr;
}

void FirmwareVolumeBuilder::addFile(const EFI_GUID& name, uint8_t fileType,
                                    const std::vector<std::pair<uint8_t, std::vector<uint8_t>>>& sections,
                                    bool largeHeaders) {
  std::vector<uint8_t> body;
  for (const auto& [type, data] : sections) {
    body.resize(align(body.size(), 4), 0);
    bool ext = largeHeaders || data.size() + 4 >= 0xFFFFFF;
    size_t hs = ext ? sizeof(EFI_COMMON_SECTION_HEADER2) : sizeof(EFI_COMMON_SECTION_HEADER);
    size_t total = hs + data.size();
    uint8_t h[8] = {};
    uint32_t s24 = ext ? 0xFFFFFF : uint32_t(total);
    h[0] = uint8_t(s24), h[1] = uint8_t(s24 >> 8), h[2] = uint8_t(s24 >> 16), h[3] = type;
    if (ext) std::memcpy(h + 4, &total, 4);
    body.insert(body.end(), h, h + hs);
    body.insert(body.end(), data.begin(), data.end());
  }
  files_.resize(align(files_.size(), 8), 0xFF);
  size_t hs = largeHeaders ? sizeof(EFI_FFS_FILE_HEADER2) : sizeof(EFI_FFS_FILE_HEADER);
  EFI_FFS_FILE_HEADER2 fh{};
  fh.Name = name;
  fh.Type = fileType;
  fh.State = 0xF8;   // header and data valid, as programmed into erased flash
  uint64_t total = hs + body.size();
  if (largeHeaders) {
    fh.Attributes = FFS_ATTRIB_LARGE_FILE;
    fh.ExtendedSize = total;
  } else {
    fh.Size[0] = uint8_t(total), fh.Size[1] = uint8_t(total >> 8), fh.Size[2] = uint8_t(total >> 16);
  }
  auto* p = reinterpret_cast<const uint8_t*>(&fh);
  files_.insert(files_.end(), p, p + hs);
  files_.insert(files_.end(), body.begin(), body.end());
}

std::vector<uint8_t> FirmwareVolumeBuilder::build(size_t minimumSize) const {
  std::vector<uint8_t> fv(sizeof(EFI_FIRMWARE_VOLUME_HEADER) + 8, 0);
  fv.insert(fv.end(), files_.begin(), files_.end());
  size_t length = align(std::max(fv.size(), minimumSize), 4096);
  fv.resize(length, 0xFF);
  auto* h = reinterpret_cast<EFI_FIRMWARE_VOLUME_HEADER*>(fv.data());
  h->FvLength = length;
  h->Signature = EFI_FVH_SIGNATURE;
  h->HeaderLength = sizeof(EFI_FIRMWARE_VOLUME_HEADER) + 8;   // block map plus its terminator
  h->Revision = 2;
  h->BlockMap[0].NumBlocks = uint32_t(length / 4096);
  h->BlockMap[0].Length = 4096;
  return fv;
}

}  // namespace zub
