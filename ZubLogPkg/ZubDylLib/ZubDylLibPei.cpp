/** @file
  DYL reports: header, time stamp and payload in one pool buffer, sent once through the
  IPMI relay PPI. No state is kept between calls.
**/
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/ZubDylLib.h>
#include <Ppi/ZubIpmiTransport.h>

#define DYL_RESPONSE_SIZE  3

EFI_STATUS
EFIAPI
SendDylMsgWorker (
  IN UINT8  *Message,
  IN UINT8  Length
  )
{
  EFI_STATUS              Status;
  ZUB_IPMI_TRANSPORT_PPI  *Relay;
  UINT8                   Response[DYL_RESPONSE_SIZE];
  UINT8                   ResponseSize;

  if (Message == NULL || Length == 0) {
    DEBUG ((DEBUG_INFO, "SendDylMsgWorker EFI_INVALID_PARAMETER\n"));
    return EFI_INVALID_PARAMETER;
  }

  Relay  = NULL;
  Status = PeiServicesLocatePpi (&gZubIpmiTransportPpiGuid, 0, NULL, (VOID **)&Relay);
  ASSERT (!EFI_ERROR (Status) && Relay != NULL);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  if (Relay == NULL) {
    return EFI_NOT_FOUND;
  }

  ZeroMem (Response, sizeof (Response));
  ResponseSize = DYL_RESPONSE_SIZE;
  Status = Relay->IpmiSendCommand (Relay, DYL_IPMI_NETFN, 0, DYL_IPMI_COMMAND, Message, Length, Response,
                                   &ResponseSize);
  DEBUG ((DEBUG_INFO, "Send Dyl message status: %r\n", Status));
  return Status;
}

EFI_STATUS
EFIAPI
DylReport (
  IN UINT8        Class,
  IN UINT8        SClass,
  IN UINT8        SSClass,
  IN CONST UINT8  *Data,
  IN UINT8        DataLength
  )
{
  EFI_STATUS  Status;
  DYL_MSG     *Message;
  UINT8       Total;
  UINT32      Seconds;

  DEBUG ((DEBUG_ERROR, " DylReport Type %x, Class %x, SClass %x, SSClass %x\n", DYL_TYPE, Class, SClass, SSClass));
  if (Data == NULL) {
    return EFI_UNSUPPORTED;
  }

  //
  // The whole message length travels in 8 bits; a payload that would wrap it is
  // refused instead of sending a truncated record.
  //
  if (DataLength > DYL_MAX_DATA_LENGTH) {
    return EFI_INVALID_PARAMETER;
  }

  Total   = (UINT8)(DataLength + sizeof (DYL_MSG));
  Message = NULL;
  Status  = PeiServicesAllocatePool (Total, (VOID **)&Message);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  if (Message == NULL) {
    return EFI_OUT_OF_RESOURCES;
  }

  ZeroMem (Message, Total);
  Message->Iana[0]      = DYL_IANA_BYTE0;
  Message->Iana[1]      = DYL_IANA_BYTE1;
  Message->Iana[2]      = DYL_IANA_BYTE2;
  Message->SubCommand   = DYL_SUBCOMMAND;
  Message->RecordMarker = DYL_RECORD_MARKER;
  Message->RecordLength = (UINT8)(Total - 4);
  Message->Type         = DYL_TYPE;
  Message->Class        = Class;
  Message->SClass       = SClass;
  Message->SSClass      = SSClass;

  if (EFI_ERROR (DylGetTimeStamp (&Seconds))) {
    return EFI_DEVICE_ERROR;
  }

  Message->TimeStamp = Seconds;
  Message->Attribute = gZubDylAttributeWord;
  CopyMem ((UINT8 *)Message + sizeof (DYL_MSG), Data, DataLength);
  return SendDylMsgWorker ((UINT8 *)Message, Total);
}
