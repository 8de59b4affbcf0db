#include "HobList.h"

#include <cstring>

namespace zub {

HobList::HobList(size_t capacity) : buffer_(new uint8_t[capacity]()), capacity_(capacity) {
  auto* phit = reinterpret_cast<EFI_HOB_HANDOFF_INFO_TABLE*>(buffer_.get());
  phit->Header.HobType = EFI_HOB_TYPE_HANDOFF;
  phit->Header.HobLength = sizeof(EFI_HOB_HANDOFF_INFO_TABLE);
  phit->Version = 9;
  phit->BootMode = BOOT_WITH_FULL_CONFIGURATION;
  end_ = sizeof(EFI_HOB_HANDOFF_INFO_TABLE);
  auto* end = reinterpret_cast<EFI_HOB_GENERIC_HEADER*>(buffer_.get() + end_);
  end->HobType = EFI_HOB_TYPE_END_OF_HOB_LIST;
  end->HobLength = sizeof(EFI_HOB_GENERIC_HEADER);
  phit->EfiEndOfHobList = reinterpret_cast<uintptr_t>(end);
}

void* HobList::create(uint16_t type, uint16_t length) {
  if (length < sizeof(EFI_HOB_GENERIC_HEADER)) return nullptr;
  size_t rounded = (size_t(length) + 7) & ~size_t(7);
  if (rounded > 0xFFF8 || end_ + rounded + sizeof(EFI_HOB_GENERIC_HEADER) > capacity_) return nullptr;
  uint8_t* hob = buffer_.get() + end_;
  std::memset(hob, 0, rounded);
  auto* h = reinterpret_cast<EFI_HOB_GENERIC_HEADER*>(hob);
  h->HobType = type;
  h->HobLength = static_cast<uint16_t>(rounded);
  end_ += rounded;
  auto* end = reinterpret_cast<EFI_HOB_GENERIC_HEADER*>(buffer_.get() + end_);
  end->HobType = EFI_HOB_TYPE_END_OF_HOB_LIST;
  end->HobLength = sizeof(EFI_HOB_GENERIC_HEADER);
  end->Reserved = 0;
  reinterpret_cast<EFI_HOB_HANDOFF_INFO_TABLE*>(buffer_.get())->EfiEndOfHobList = reinterpret_cast<uintptr_t>(end);
  return hob;
}

std::vector<std::pair<uint16_t, std::vector<uint8_t>>> HobList::entries() const {
  std::vector<std::pair<uint16_t, std::vector<uint8_t>>> out;
  size_t off = 0;
  while (off + sizeof(EFI_HOB_GENERIC_HEADER) <= end_) {
    auto* h = reinterpret_cast<const EFI_HOB_GENERIC_HEADER*>(buffer_.get() + off);
    if (h->HobLength < sizeof(EFI_HOB_GENERIC_HEADER)) break;
    out.emplace_back(h->HobType, std::vector<uint8_t>(buffer_.get() + off, buffer_.get() + off + h->HobLength));
    off += h->HobLength;
  }
  return out;
}

}  // namespace zub
