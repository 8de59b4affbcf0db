// Test support for the logo package: a boot of the default board with its SPI flash, the
// flash PPI installed on request, and a spy PPI that stands in front of the board's PPI and
// records every call with the BIOS control byte as the controller held it at that moment.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <Ppi/PchSpi.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Bmc/TestSupport/QuickTransferBoard.h"
#include "Devices/Chipset.h"
#include "Devices/SpiFlash.h"
#include "Platform/PchSpiFlashPpi.h"

namespace zub::logotest {

using test::zcrc;

struct SpiCall {
  std::string function;
  uint32_t region, offset, count;
  uint8_t biosControl;   // at the time of the call
};

// The spy: forwards to the board's PPI unless told to fail a function.
struct SpiSpy {
  PCH_SPI_PPI ppi{};
  EFI_PEI_PPI_DESCRIPTOR descriptor{};
  std::vector<SpiCall> calls;
  EFI_STATUS failRegion = EFI_SUCCESS, failErase = EFI_SUCCESS, failWrite = EFI_SUCCESS;
  BootSession* boot = nullptr;
  static SpiSpy* current;

  explicit SpiSpy(BootSession& b) : boot(&b) {
    current = this;
    ppi.Revision = 1;
    ppi.GetRegionAddress = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32* base, UINT32* size) -> EFI_STATUS {
      current->record("region", r, 0, 0);
      if (current->failRegion) return current->failRegion;
      PCH_SPI_PPI* real = current->boot->spiFlashPpi().ppi();
      return real->GetRegionAddress(real, r, base, size);
    };
    ppi.FlashErase = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n) -> EFI_STATUS {
      current->record("erase", r, a, n);
      if (current->failErase) return current->failErase;
      PCH_SPI_PPI* real = current->boot->spiFlashPpi().ppi();
      return real->FlashErase(real, r, a, n);
    };
    ppi.FlashWrite = [](PCH_SPI_PPI*, FLASH_REGION_TYPE r, UINT32 a, UINT32 n, UINT8* d) -> EFI_STATUS {
      current->record("write", r, a, n);
      if (current->failWrite) return current->failWrite;
      PCH_SPI_PPI* real = current->boot->spiFlashPpi().ppi();
      return real->FlashWrite(real, r, a, n, d);
    };
    descriptor = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gPchSpiPpiGuid, &ppi};
  }
  ~SpiSpy() { current = nullptr; }
  void record(const char* f, uint32_t r, uint32_t a, uint32_t n) {
    calls.push_back({f, r, a, n, boot->chipset().spi.biosControl()});
  }
};
inline SpiSpy* SpiSpy::current = nullptr;

struct FlashBoard {
  explicit FlashBoard(BoardConfig b = defaultBoard(), PersistentState state = {}, std::vector<std::string> modules = {})
      : board(prepare(std::move(b), modules)), boot(board, state) {
    boot.start();
  }
  static BoardConfig prepare(BoardConfig b, const std::vector<std::string>& modules) {
    if (!modules.empty()) b.modules = modules;
    b.timeline = {};
    return b;
  }
  void install(const std::string& ppi) {
    TimelineStep s{TimelineStep::Kind::Install};
    s.ppi = ppi;
    boot.runStep(s);
  }
  void installSpy() { boot.core().installPpi(&spy.descriptor); }

  const std::string& log() { return boot.platform().debug.log(); }
  size_t count(const std::string& text) {
    size_t n = 0;
    for (size_t at = log().find(text); at != std::string::npos; at = log().find(text, at + 1)) ++n;
    return n;
  }
  uint8_t* flash() { return const_cast<uint8_t*>(boot.flash().image().data()); }
  uint64_t mmioWrites() {
    uint64_t n = 0;
    for (const auto& [name, s] : boot.machine().stats()) n += s.mmioWrites;
    return n;
  }
  std::vector<nlohmann::json> flashEvents() {
    std::vector<nlohmann::json> out;
    for (const auto& e : boot.events().events()) {
      std::string t = e["event"];
      if (t == "flash_erase" || t == "flash_write") out.push_back(e);
    }
    return out;
  }

  BoardConfig board;
  BootSession boot;
  SpiSpy spy{boot};
};

}  // namespace zub::logotest
