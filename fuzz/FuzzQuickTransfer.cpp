// VramLinkPei's checks of the BMC's answers: the answer area's header, CRCs and lengths,
// and the file GetFile hands out. Input: the seal byte (see sealAnswer), the call (0:
// GetFile, 1: SendCommand, 2: PushFile; the next byte picks the command), then the answer
// area as the BMC leaves it.
#include <Ppi/QuickTrans.h>

#include "FuzzBoard.h"

namespace zub::fuzz {
namespace {

struct Link : LinkedBoot {
  Link() : LinkedBoot(boardOf({"IpmiRelayPei", "VramLinkPei"})) {
    start();
    dispatchAll();
    ppi = boot.locate<QUICK_TRANS_PPI>(gQuickTransPpiGuid);
  }
  QUICK_TRANS_PPI* ppi = nullptr;
};

EFI_STATUS EFIAPI smallFile(UINT32 maxSize, VOID* buffer, UINT32* size) {
  std::memset(buffer, 0x42, 64);
  *size = 64;
  return EFI_SUCCESS;
}

}  // namespace
}  // namespace zub::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zub::fuzz;
  static Link link;
  FuzzInput in(data, size);
  link.answers.seal = in.u8();
  uint8_t call = in.u8(), command = in.u8();
  link.answers.answer = in.rest();
  switch (call % 3) {
    case 0: {
      UINT32 fileSize = 0;
      VOID* file = nullptr;
      if (link.ppi->GetFile("bios_logo_early.bmp", &fileSize, &file) == EFI_SUCCESS) touch(file, fileSize);
      break;
    }
    case 1: {
      UINT8 params[224] = {};
      QUICK_TRANS_HEADER* answer = nullptr;
      if (link.ppi->SendCommand(UINT16(1 + command % 9), params, 0, nullptr, &answer) == EFI_SUCCESS)
        touch(reinterpret_cast<UINT8*>(answer) + QUICK_TRANS_DATA_OFFSET, answer->DataLength);
      break;
    }
    default:
      link.ppi->PushFile("push_BiosStartBoot.json", 0, smallFile);
      break;
  }
  return 0;
}
