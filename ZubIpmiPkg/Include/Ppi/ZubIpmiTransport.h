/** @file
  The system's IPMI relay PPI. Response sizes are in data bytes, without the completion
  code; a caller receives at most 127 data bytes.
**/
#ifndef ZUB_IPMI_TRANSPORT_H_
#define ZUB_IPMI_TRANSPORT_H_

#include <PiPei.h>

#define ZUB_IPMI_NETFN_OEM       0x36
#define ZUB_IPMI_RESPONSE_BUFFER 128

typedef struct _ZUB_IPMI_TRANSPORT_PPI ZUB_IPMI_TRANSPORT_PPI;

typedef EFI_STATUS (EFIAPI *ZUB_IPMI_SEND_COMMAND)(
  IN ZUB_IPMI_TRANSPORT_PPI *This,
  IN UINT8                  NetFunction,
  IN UINT8                  Lun,
  IN UINT8                  Command,
  IN UINT8                  *CommandData,
  IN UINT32                 CommandDataSize,
  OUT UINT8                 *ResponseData,
  IN OUT UINT8              *ResponseDataSize
  );

typedef EFI_STATUS (EFIAPI *ZUB_IPMI_SEND_OEM_COMMAND)(
  IN ZUB_IPMI_TRANSPORT_PPI *This,
  IN UINT8                  Command,
  IN UINT8                  *CommandData,
  IN UINT32                 CommandDataSize,
  OUT UINT8                 *ResponseData,
  IN OUT UINT8              *ResponseDataSize
  );

typedef EFI_STATUS (EFIAPI *ZUB_IPMI_GET_BMC_STATUS)(
  IN ZUB_IPMI_TRANSPORT_PPI *This,
  OUT UINT32                *BmcStatus,
  OUT VOID                  *ComAddress
  );

typedef EFI_STATUS (EFIAPI *ZUB_IPMI_SEND_COMMAND_CC)(
  IN ZUB_IPMI_TRANSPORT_PPI *This,
  IN UINT8                  NetFunction,
  IN UINT8                  Lun,
  IN UINT8                  Command,
  IN UINT8                  *CommandData,
  IN UINT8                  CommandDataSize,
  OUT UINT8                 *ResponseData,
  IN OUT UINT8              *ResponseDataSize,
  OUT UINT8                 *CompletionCode
  );

struct _ZUB_IPMI_TRANSPORT_PPI {
  UINT64                     Revision;
  ZUB_IPMI_SEND_COMMAND      IpmiSendCommand;
  ZUB_IPMI_SEND_OEM_COMMAND  IpmiSendOemCommand;
  ZUB_IPMI_GET_BMC_STATUS    IpmiGetBmcStatus;
  ZUB_IPMI_SEND_COMMAND_CC   IpmiSendCommandCc;
};

extern EFI_GUID gZubIpmiTransportPpiGuid;

#endif
