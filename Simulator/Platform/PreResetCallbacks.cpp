#include "PreResetCallbacks.h"

#include <algorithm>
#include <utility>

#include "Foundation/PeiCore.h"
#include "Machine/EventLog.h"

namespace zub {

PreResetCallbacks* PreResetCallbacks::current = nullptr;

namespace {

// The callback takes no PPI pointer, so each instance has a function of its own.
template <size_t I>
VOID EFIAPI preResetCallback(UINTN resetType) {
  if (PreResetCallbacks::current) PreResetCallbacks::current->called(I, resetType);
}

template <size_t... I>
constexpr PRE_RESET_CALLBACK callbackOf(size_t i, std::index_sequence<I...>) {
  constexpr PRE_RESET_CALLBACK table[] = {preResetCallback<I>...};
  return table[i];
}

}  // namespace

PreResetCallbacks::PreResetCallbacks(EventLog& events, size_t instances)
    : events_(events), count_(std::min(instances, kMaxInstances)) {
  for (size_t i = 0; i < count_; ++i) {
    ppis_[i].PreResetCallback = callbackOf(i, std::make_index_sequence<kMaxInstances>{});
    descriptors_[i] = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gPreResetCallbackPpiGuid,
                       &ppis_[i]};
  }
}

PreResetCallbacks::~PreResetCallbacks() {
  if (current == this) current = nullptr;
}

void PreResetCallbacks::install(PeiCore& core) {
  current = this;
  for (size_t i = 0; i < count_; ++i) core.installPpi(&descriptors_[i]);
}

void PreResetCallbacks::called(size_t instance, uint64_t argument) {
  calls_.emplace_back(instance, argument);
  events_.add("pre_reset_callback", {{"instance", instance}, {"argument", argument}});
}

}  // namespace zub
