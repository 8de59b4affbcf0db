/** @file
  The BMC's chassis boot options (Get System Boot Options) as this module reads them.
  Answer bytes count from the completion code.
**/
#ifndef IPMI_BOOT_FLAGS_H_
#define IPMI_BOOT_FLAGS_H_

#include <PiPei.h>
#include <Ppi/IpmiTransportPpi.h>

#define IPMI_NETFN_CHASSIS                  0x00
#define IPMI_GET_SYSTEM_BOOT_OPTIONS        0x09
#define BOOT_OPTIONS_SET_IN_PROGRESS_SIZE   4
#define BOOT_OPTIONS_ACK_SIZE               5
#define BOOT_OPTIONS_FLAGS_SIZE             8
#define BOOT_OPTIONS_DATA1                  3
#define BOOT_OPTIONS_DATA2                  4
#define BOOT_FLAG_VALID                     BIT7
#define BOOT_FLAG_PERSISTENT                BIT6
#define BOOT_FLAG_UEFI                      BIT5
#define BOOT_DEVICE_SELECTOR(Data2)         (((Data2) >> 2) & 0x0F)
#define BOOT_DEVICE_BIOS_SETUP              6

EFI_STATUS
ReadIpmiBootFlags (
  IN PEI_IPMI_TRANSPORT_PPI  *Transport,
  OUT UINT8                  BootFlags[BOOT_OPTIONS_FLAGS_SIZE]
  );

#endif
