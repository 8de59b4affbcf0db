/** @file
  The platform's IPMI transport PPI to the BMC (KCS behind it, not seen by modules).

  Response sizes count the completion code, which is Response[0].
**/
#ifndef PPI_IPMI_TRANSPORT_PPI_H_
#define PPI_IPMI_TRANSPORT_PPI_H_

#include <PiPei.h>

typedef struct _PEI_IPMI_TRANSPORT_PPI PEI_IPMI_TRANSPORT_PPI;

typedef EFI_STATUS (EFIAPI *PEI_IPMI_SEND_COMMAND)(
  IN PEI_IPMI_TRANSPORT_PPI *This,
  IN UINT8                  NetFunction,
  IN UINT8                  Lun,
  IN UINT8                  Command,
  IN UINT8                  *CommandData,
  IN UINT32                 CommandDataSize,
  OUT UINT8                 *ResponseData,
  IN OUT UINT8              *ResponseDataSize
  );

typedef EFI_STATUS (EFIAPI *PEI_IPMI_GET_BMC_STATUS)(
  IN PEI_IPMI_TRANSPORT_PPI *This,
  OUT UINT32                *BmcStatus,
  OUT VOID                  *ComAddress
  );

typedef EFI_STATUS (EFIAPI *PEI_IPMI_SEND_COMMAND_WITH_CC)(
  IN PEI_IPMI_TRANSPORT_PPI *This,
  IN UINT8                  NetFunction,
  IN UINT8                  Lun,
  IN UINT8                  Command,
  IN UINT8                  *CommandData,
  IN UINT8                  CommandDataSize,
  OUT UINT8                 *ResponseData,
  IN OUT UINT32             *ResponseDataSize,
  OUT UINT8                 *CompletionCode,
  IN UINT8                  Reserved          // always 1
  );

struct _PEI_IPMI_TRANSPORT_PPI {
  UINT64                         Revision;
  PEI_IPMI_SEND_COMMAND          SendIpmiCommand;
  PEI_IPMI_GET_BMC_STATUS        GetBmcStatus;
  PEI_IPMI_SEND_COMMAND_WITH_CC  SendIpmiCommandWithCc;
};

#define BMC_STATUS_OK        0
#define BMC_STATUS_SOFTFAIL  1
#define BMC_STATUS_HARDFAIL  2
#define BMC_STATUS_UNKNOWN   3

extern EFI_GUID gEfiPeiIpmiTransportPpiGuid;

#endif
