// PRE_RESET_CALLBACK_PPI instances of the platform: firmware that wants to hear of a reset
// before it happens. Each call is recorded as a `pre_reset_callback` event with the
// instance and its argument.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include <PiPei.h>
#include <Ppi/PreResetCallback.h>

namespace zub {

class EventLog;
class PeiCore;

class PreResetCallbacks {
public:
  static constexpr size_t kMaxInstances = 4;

  PreResetCallbacks(EventLog& events, size_t instances);
  ~PreResetCallbacks();
  PreResetCallbacks(const PreResetCallbacks&) = delete;
  PreResetCallbacks& operator=(const PreResetCallbacks&) = delete;

  void install(PeiCore& core);
  size_t instances() const { return count_; }
  const std::vector<std::pair<size_t, uint64_t>>& calls() const { return calls_; }   // (instance, argument)

  static PreResetCallbacks* current;
  void called(size_t instance, uint64_t argument);

private:
  EventLog& events_;
  size_t count_;
  PRE_RESET_CALLBACK_PPI ppis_[kMaxInstances]{};
  EFI_PEI_PPI_DESCRIPTOR descriptors_[kMaxInstances]{};
  std::vector<std::pair<size_t, uint64_t>> calls_;
};

}  // namespace zub
