#include "IpmiTransport.h"

#include <algorithm>
#include <cstring>

#include "Bmc/Bmc.h"

namespace zub {

IpmiTransport* IpmiTransport::current = nullptr;

IpmiTransport::IpmiTransport(Bmc& bmc) : bmc_(bmc) {
  ppi_.Revision = 1;
  ppi_.SendIpmiCommand = [](PEI_IPMI_TRANSPORT_PPI*, UINT8 netFn, UINT8 lun, UINT8 command, UINT8* data,
                            UINT32 dataSize, UINT8* response, UINT8* responseSize) -> EFI_STATUS {
    if (!responseSize) return EFI_INVALID_PARAMETER;
    uint32_t size = *responseSize;
    EFI_STATUS st = current->send(netFn, lun, command, data, dataSize, response, &size, nullptr);
    *responseSize = static_cast<UINT8>(std::min<uint32_t>(size, 0xFF));
    return st;
  };
  ppi_.GetBmcStatus = [](PEI_IPMI_TRANSPORT_PPI*, UINT32* status, VOID*) -> EFI_STATUS {
    if (!status) return EFI_INVALID_PARAMETER;
    *status = current->bmc_.present() ? BMC_STATUS_OK : BMC_STATUS_HARDFAIL;
    return EFI_SUCCESS;
  };
  ppi_.SendIpmiCommandWithCc = [](PEI_IPMI_TRANSPORT_PPI*, UINT8 netFn, UINT8 lun, UINT8 command, UINT8* data,
                                  UINT8 dataSize, UINT8* response, UINT32* responseSize, UINT8* cc,
                                  UINT8) -> EFI_STATUS {
    if (!responseSize) return EFI_INVALID_PARAMETER;
    return current->send(netFn, lun, command, data, dataSize, response, responseSize, cc);
  };
}

EFI_STATUS IpmiTransport::send(uint8_t netFn, uint8_t lun, uint8_t command, const uint8_t* data, uint32_t dataSize,
                               uint8_t* response, uint32_t* responseSize, uint8_t* completionCode) {
  if ((dataSize && !data) || (*responseSize && !response)) return EFI_INVALID_PARAMETER;
  std::vector<uint8_t> request(data, data + dataSize);
  auto answer = bmc_.request(netFn, lun, command, request);
  if (!answer) return EFI_NO_RESPONSE;   // no BMC behind the interface
  if (answer->empty()) answer->push_back(0xFF);
  if (completionCode) *completionCode = (*answer)[0];
  // The system interface stops reading when the caller's buffer is full: a longer answer
  // is cut to the buffer, and the size says how much arrived.
  size_t n = std::min<size_t>(answer->size(), *responseSize);
  if (n) std::memcpy(response, answer->data(), n);
  *responseSize = static_cast<uint32_t>(n);
  return (*answer)[0] == 0 ? EFI_SUCCESS : EFI_DEVICE_ERROR;
}

}  // namespace zub
