// The platform IPMI transport PPI: hands every request to the BMC model and returns its
// answer. Sizes count the completion code (Response[0]). A non-zero completion code is a
// device error (the answer is still returned); an absent BMC gives EFI_NO_RESPONSE.
#pragma once
#include <cstdint>
#include <vector>

#include <PiPei.h>
#include <Ppi/IpmiTransportPpi.h>

namespace zub {

class Bmc;

class IpmiTransport {
public:
  explicit IpmiTransport(Bmc& bmc);
  PEI_IPMI_TRANSPORT_PPI* ppi() { return &ppi_; }
  static IpmiTransport* current;

  EFI_STATUS send(uint8_t netFn, uint8_t lun, uint8_t command, const uint8_t* data, uint32_t dataSize,
                  uint8_t* response, uint32_t* responseSize, uint8_t* completionCode);

private:
  Bmc& bmc_;
  PEI_IPMI_TRANSPORT_PPI ppi_{};
};

}  // namespace zub
