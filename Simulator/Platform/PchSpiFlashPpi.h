// The PCH SPI flash PPI (gPchSpiPpiGuid) in front of the flash part. Only the BIOS region
// (type 1) is served; offsets are inside it. Erase and write are refused with
// EFI_ACCESS_DENIED while the SPI controller's BIOS write-protect bit (0xDC bit 5) is set;
// erase counts must be multiples of 4 KB; a range past the region is EFI_INVALID_PARAMETER.
// Every call that reaches the part is an event ("flash_erase", "flash_write"), every refusal
// a "flash_refused" event.
#pragma once
#include <cstdint>

#include <PiPei.h>
#include <Ppi/PchSpi.h>

namespace zub {

class EventLog;
class SpiController;
class SpiFlash;

class PchSpiFlashPpi {
public:
  // The flash part's linear address of the BIOS region start, as the region query reports it.
  static constexpr uint32_t kPartSize = 32u << 20;

  PchSpiFlashPpi(SpiFlash& flash, SpiController& controller, EventLog& events);
  ~PchSpiFlashPpi();
  PchSpiFlashPpi(const PchSpiFlashPpi&) = delete;
  PchSpiFlashPpi& operator=(const PchSpiFlashPpi&) = delete;

  PCH_SPI_PPI* ppi() { return &ppi_; }
  EFI_PEI_PPI_DESCRIPTOR* descriptor() { return &descriptor_; }
  // Make this the instance the PPI functions reach.
  void activate() { current = this; }
  static PchSpiFlashPpi* current;

  EFI_STATUS erase(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count);
  EFI_STATUS write(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count, const uint8_t* buffer);
  EFI_STATUS read(FLASH_REGION_TYPE region, uint32_t offset, uint32_t count, uint8_t* buffer);
  EFI_STATUS regionAddress(FLASH_REGION_TYPE region, uint32_t* base, uint32_t* size);

private:
  EFI_STATUS refuse(const char* operation, uint32_t offset, uint32_t count, const char* reason, EFI_STATUS status);

  SpiFlash& flash_;
  SpiController& controller_;
  EventLog& events_;
  PCH_SPI_PPI ppi_{};
  EFI_PEI_PPI_DESCRIPTOR descriptor_{};
};

}  // namespace zub
