/** @file
  IPMI relay. Every call locates the platform transport afresh, so the relay may be
  installed before it and calls made before it exists fail cleanly. The relay keeps no
  state; the answer goes through a 128-byte local buffer whose byte 0 is the completion
  code, and the caller's sizes count data bytes only.
**/
#include <PiPei.h>
#include <Ppi/IpmiTransportPpi.h>
#include <Ppi/ZubIpmiTransport.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

//
// Locates the platform transport, reporting a failure.
//
STATIC
EFI_STATUS
LocatePlatformTransport (
  OUT PEI_IPMI_TRANSPORT_PPI  **Transport
  )
{
  EFI_STATUS  Status;

  *Transport = NULL;
  Status = PeiServicesLocatePpi (&gEfiPeiIpmiTransportPpiGuid, 0, NULL, (VOID **)Transport);
  if (EFI_ERROR (Status) || (*Transport == NULL)) {
    if (!EFI_ERROR (Status)) {
      Status = EFI_NOT_FOUND;
    }
    DEBUG ((DEBUG_ERROR, "Failed to locate ipmi ppi %r\n", Status));
  }
  return Status;
}

//
// Hands the data bytes behind the completion code back to the caller. Count is what the
// transport reported, completion code included; an answer without even a completion code
// is an empty answer, and no more than the caller's capacity is ever copied.
//
STATIC
EFI_STATUS
ReturnAnswer (
  IN  EFI_STATUS   Status,
  IN  CONST UINT8  *Buffer,
  IN  UINT32       Count,
  IN  UINT8        CompletionCode,
  IN  UINT8        Capacity,
  OUT UINT8        *ResponseData,
  OUT UINT8        *ResponseDataSize
  )
{
  UINT32  DataBytes;

  DataBytes = (Count == 0) ? 0 : Count - 1;
  if (DataBytes > Capacity) {
    DataBytes = Capacity;        // a transport that overfills is cut to what was offered
  }
  *ResponseDataSize = (UINT8)DataBytes;
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "CompletionCode: 0x%X\n", CompletionCode));
    return Status;
  }
  if ((DataBytes != 0) && (ResponseData != NULL)) {
    CopyMem (ResponseData, Buffer + 1, DataBytes);
  }
  return Status;
}

STATIC
EFI_STATUS
RelayCommand (
  IN  UINT8   NetFunction,
  IN  UINT8   Lun,
  IN  UINT8   Command,
  IN  UINT8   *CommandData,
  IN  UINT32  CommandDataSize,
  OUT UINT8   *ResponseData,
  IN OUT UINT8 *ResponseDataSize
  )
{
  PEI_IPMI_TRANSPORT_PPI  *Transport;
  EFI_STATUS              Status;
  UINT8                   Buffer[ZUB_IPMI_RESPONSE_BUFFER];
  UINT8                   Count;

  ASSERT (ResponseDataSize != NULL);
  if (ResponseDataSize == NULL) {
    return EFI_INVALID_PARAMETER;
  }
  if ((UINT32)*ResponseDataSize + 1 > ZUB_IPMI_RESPONSE_BUFFER) {
    DEBUG ((DEBUG_ERROR, "No enough resource\n"));
    return EFI_OUT_OF_RESOURCES;
  }
  Status = LocatePlatformTransport (&Transport);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  ZeroMem (Buffer, sizeof (Buffer));
  Count  = (UINT8)(*ResponseDataSize + 1);
  Status = Transport->SendIpmiCommand (Transport, NetFunction, Lun, Command, CommandData, CommandDataSize,
                                       Buffer, &Count);
  return ReturnAnswer (Status, Buffer, Count, Buffer[0], *ResponseDataSize, ResponseData, ResponseDataSize);
}

STATIC
EFI_STATUS
EFIAPI
IpmiSendCommand (
  IN ZUB_IPMI_TRANSPORT_PPI  *This,
  IN UINT8                   NetFunction,
  IN UINT8                   Lun,
  IN UINT8                   Command,
  IN UINT8                   *CommandData,
  IN UINT32                  CommandDataSize,
  OUT UINT8                  *ResponseData,
  IN OUT UINT8               *ResponseDataSize
  )
{
  return RelayCommand (NetFunction, Lun, Command, CommandData, CommandDataSize, ResponseData, ResponseDataSize);
}

STATIC
EFI_STATUS
EFIAPI
IpmiSendOemCommand (
  IN ZUB_IPMI_TRANSPORT_PPI  *This,
  IN UINT8                   Command,
  IN UINT8                   *CommandData,
  IN UINT32                  CommandDataSize,
  OUT UINT8                  *ResponseData,
  IN OUT UINT8               *ResponseDataSize
  )
{
  return RelayCommand (ZUB_IPMI_NETFN_OEM, 0, Command, CommandData, CommandDataSize, ResponseData,
                       ResponseDataSize);
}

STATIC
EFI_STATUS
EFIAPI
IpmiGetBmcStatus (
  IN ZUB_IPMI_TRANSPORT_PPI  *This,
  OUT UINT32                 *BmcStatus,
  OUT VOID                   *ComAddress
  )
{
  PEI_IPMI_TRANSPORT_PPI  *Transport;
  EFI_STATUS              Status;
  UINT32                  Value;

  Status = LocatePlatformTransport (&Transport);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Value  = 0;
  Status = Transport->GetBmcStatus (Transport, &Value, ComAddress);
  if (BmcStatus != NULL) {
    *BmcStatus = Value;
  }
  return Status;
}

STATIC
EFI_STATUS
EFIAPI
IpmiSendCommandCc (
  IN ZUB_IPMI_TRANSPORT_PPI  *This,
  IN UINT8                   NetFunction,
  IN UINT8                   Lun,
  IN UINT8                   Command,
  IN UINT8                   *CommandData,
  IN UINT8                   CommandDataSize,
  OUT UINT8                  *ResponseData,
  IN OUT UINT8               *ResponseDataSize,
  OUT UINT8                  *CompletionCode
  )
{
  PEI_IPMI_TRANSPORT_PPI  *Transport;
  EFI_STATUS              Status;
  UINT8                   Buffer[ZUB_IPMI_RESPONSE_BUFFER];
  UINT32                  Count;

  ASSERT (ResponseDataSize != NULL);
  ASSERT (CompletionCode != NULL);
  if ((ResponseDataSize == NULL) || (CompletionCode == NULL)) {
    return EFI_INVALID_PARAMETER;
  }
  if ((UINT32)*ResponseDataSize + 1 > ZUB_IPMI_RESPONSE_BUFFER) {
    DEBUG ((DEBUG_ERROR, "No enough resource\n"));
    return EFI_OUT_OF_RESOURCES;
  }
  Status = LocatePlatformTransport (&Transport);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  ZeroMem (Buffer, sizeof (Buffer));
  Count  = (UINT32)*ResponseDataSize + 1;
  Status = Transport->SendIpmiCommandWithCc (Transport, NetFunction, Lun, Command, CommandData, CommandDataSize,
                                             Buffer, &Count, CompletionCode, 1);
  return ReturnAnswer (Status, Buffer, Count, *CompletionCode, *ResponseDataSize, ResponseData, ResponseDataSize);
}

STATIC ZUB_IPMI_TRANSPORT_PPI  mZubIpmiTransport = {
  0,
  IpmiSendCommand,
  IpmiSendOemCommand,
  IpmiGetBmcStatus,
  IpmiSendCommandCc
};

STATIC EFI_PEI_PPI_DESCRIPTOR  mZubIpmiTransportDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubIpmiTransportPpiGuid,
  &mZubIpmiTransport
};

extern "C"
EFI_STATUS
EFIAPI
IpmiRelayPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "IpmiRelayPeiEntry --- start\n"));
  Status = PeiServicesInstallPpi (&mZubIpmiTransportDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install ipmi ppi %r\n", Status));
    return Status;
  }
  return EFI_SUCCESS;
}
