// Firmware volumes as the PEI services walk them: FFS files (24-byte headers, or 32-byte
// headers with a 64-bit size for large files) at 8-byte alignment after the volume header,
// and their sections (3-byte size, or 0xFFFFFF followed by a 32-bit size) at 4-byte
// alignment. Every walk stays inside the volume; a malformed size ends it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <PiPei.h>

namespace zub {

struct FfsFileView {
  const uint8_t* header;
  size_t headerSize;
  size_t totalSize;
};

// Returns the files of the volume at `fv` (bounded by `size` bytes of mapped memory).
std::vector<FfsFileView> listFfsFiles(const uint8_t* fv, size_t size);
// The data of the first section of `type` in the file, or nullptr.
const uint8_t* findSectionData(const FfsFileView& file, uint8_t type, size_t* dataSize = nullptr);

// Builds a volume image: for board files and tests.
class FirmwareVolumeBuilder {
public:
  void addFile(const EFI_GUID& name, uint8_t fileType, const std::vector<std::pair<uint8_t, std::vector<uint8_t>>>& sections,
               bool largeHeaders = false);
  std::vector<uint8_t> build(size_t minimumSize = 0) const;

private:
  std::vector<uint8_t> files_;
};

}  // namespace zub
