#include "PchSpiFlashPpi.h"

#include <cstring>

#include "Devices/SpiController.h"
#include "Devices/SpiFlash.h"
#include "Machine/EventLog.h"

namespace zub {

PchSpiFlashPpi* PchSpiFlashPpi::current = nullptr;

namespace {
PchSpiFlashPpi* self() { return PchSpiFlashPpi::current; }
}  // namespace

PchSpiFlashPpi::PchSpiFlashPpi(SpiFlash& flash, SpiController& controller, EventLog& events)
    : flash_(flash), controller_(controller), events_(events) {
  ppi_.Revision = 1;
  ppi_.FlashRead = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n, UINT8* b) -> EFI_STATUS {
    return self()->read(r, a, n, b);
  };
  ppi_.FlashWrite = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n, UINT8* b) -> EFI_STATUS {
    return self()->write(r, a, n, b);
  };
  ppi_.FlashErase = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n) -> EFI_STATUS {
    return self()->erase(r, a, n);
  };
  auto unsupported = [](PCH_SPI_PPI*) -> EFI_STATUS { return EFI_UNSUPPORTED; };
  ppi_.FlashReadSfdp = ppi_.FlashReadJedecId = ppi_.FlashWriteStatus = ppi_.FlashReadStatus = unsupported;
  ppi_.GetRegionAddress = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32* base, UINT32* size) -> EFI_STATUS {
    return self()->regionAddress(r, base, size);
  };
  flash_.onOperation = [this](const char* kind, uint32_t offset, uint32_t count, bool interrupted) {
    nlohmann::json e = {{"offset", hex32(offset)}, {"bytes", count}};
    if (interrupted) e["interrupted"] = true;
    events_.add(std::string("flash_") + kind, std::move(e));
  };
  descriptor_ = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gPchSpiPpiGuid, &ppi_};
}

PchSpiFlashPpi::~PchSpiFlashPpi() {
  flash_.onOperation = nullptr;
  if (current == this) current = nullptr;
}

EFI_STATUS PchSpiFlashPpi::refuse(const char* operation, uint32_t offset, uint32_t count, const char* reason,
                                  EFI_STATUS status) {
  events_.add("flash_refused", {{"operation", operation}, {"offset", hex32(offset)}, {"bytes", count}, {"reason", reason}});
  return status;
}

EFI_STATUS PchSpiFlashPpi::erase(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count) {
  if (region != FlashRegionBios) return refuse("erase", offset, count, "region", EFI_UNSUPPORTED);
  if (controller_.biosWriteProtected()) return refuse("erase", offset, count, "write-protected", EFI_ACCESS_DENIED);
  switch (flash_.erase(offset, count)) {
    case SpiFlash::Result::Ok: return EFI_SUCCESS;
    case SpiFlash::Result::Misaligned: return refuse("erase", offset, count, "count", EFI_INVALID_PARAMETER);
    case SpiFlash::Result::OutOfRange: break;
  }
  return refuse("erase", offset, count, "range", EFI_INVALID_PARAMETER);
}

EFI_STATUS PchSpiFlashPpi::write(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count, const uint8_t* buffer) {
  if (region != FlashRegionBios) return refuse("write", offset, count, "region", EFI_UNSUPPORTED);
  if (count && !buffer) return refuse("write", offset, count, "buffer", EFI_INVALID_PARAMETER);
  if (controller_.biosWriteProtected()) return refuse("write", offset, count, "write-protected", EFI_ACCESS_DENIED);
  if (flash_.program(offset, count, buffer) != SpiFlash::Result::Ok)
    return refuse("write", offset, count, "range", EFI_INVALID_PARAMETER);
  return EFI_SUCCESS;
}

EFI_STATUS PchSpiFlashPpi::read(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count, uint8_t* buffer) {
  if (region != FlashRegionBios) return EFI_UNSUPPORTED;
  if ((count && !buffer) || uint64_t(offset) + count > flash_.size()) return EFI_INVALID_PARAMETER;
  if (count) std::memcpy(buffer, flash_.image().data() + offset, count);
  return EFI_SUCCESS;
}

EFI_STATUS PchSpiFlashPpi::regionAddress(FLASH_REGION_TYPE region, uint32_t* base, uint32_t* size) {
  if (!base || !size) return EFI_INVALID_PARAMETER;
  if (region != FlashRegionBios) return EFI_UNSUPPORTED;
  // The BIOS region sits at the top of the part.
  *base = kPartSize - flash_.size();
  *size = flash_.size();
  return EFI_SUCCESS;
}

}  // namespace zub
