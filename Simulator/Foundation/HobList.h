// The HOB list: a fixed buffer that starts with the hand-off info table and ends with an
// end-of-list HOB. New HOBs go in front of the end HOB; nothing ever moves, so pointers
// handed to modules stay valid.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include <PiPei.h>

namespace zub {

class HobList {
public:
  explicit HobList(size_t capacity = 256 * 1024);
  void* head() { return buffer_.get(); }
  // Length is rounded up to 8 bytes. Returns nullptr when the list is full or Length < 8.
  void* create(uint16_t type, uint16_t length);
  // All HOBs in list order (for summary.json), each as (type, bytes).
  std::vector<std::pair<uint16_t, std::vector<uint8_t>>> entries() const;

private:
  std::unique_ptr<uint8_t[]> buffer_;
  size_t capacity_;
  size_t end_ = 0;   // offset of the end-of-list HOB
};

}  // namespace zub
