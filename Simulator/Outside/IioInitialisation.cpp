#include "IioInitialisation.h"

#include <algorithm>

#include <Ppi/IioHooks.h>

#include "Foundation/PeiCore.h"
#include "Machine/EventLog.h"

namespace zub {

void runIioInitialisation(PeiCore& core, EventLog& events, const IioDataBytes& bytes) {
  void* ppi = nullptr;
  if (EFI_ERROR(core.locatePpi(gIioHooksPpiGuid, 0, nullptr, &ppi))) {
    events.add("iio_init", {{"hooks", false}});
    return;
  }
  // The block lives in pool, as the reference code's data does.
  auto* block = static_cast<uint8_t*>(core.pool().allocate(kIioDataBlockSize));
  std::fill(block, block + kIioDataBlockSize, 0);
  for (const auto& [offset, data] : bytes) std::copy(data.begin(), data.end(), block + offset);

  auto* hooks = static_cast<IIO_HOOKS_PPI*>(ppi);
  IIO_HOOK plain[] = {hooks->Hook0, hooks->Hook2, hooks->Hook3, hooks->Hook4, hooks->Hook5,
                      hooks->Hook6, hooks->Hook7, hooks->Hook8, hooks->Hook9, hooks->Hook10};
  for (IIO_HOOK h : plain) h(block);
  nlohmann::json ports = nlohmann::json::array();
  for (UINT8 index = 0; index < 2; ++index) {   // one call per IIO instance of the board
    UINT8 out[4] = {0, 0, 0, 0};
    hooks->IioPortDetailsHook(block, index, &out[0], &out[1], &out[2], &out[3]);
    ports.push_back({{"index", index}, {"port", out[0]}, {"out2", out[1]}, {"out3", out[2]}, {"out4", out[3]}});
  }
  hooks->PublishSocketMapHook(block);
  events.add("iio_init", {{"hooks", true}, {"port_details", ports}});
}

}  // namespace zub
