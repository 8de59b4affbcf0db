/** @file
  One quick-transfer exchange: the request is written into the request area with its
  CRCs, one IPMI OEM command tells the BMC, and the BMC's answer is in the answer area
  when that command completes. Everything read from the answer area is the BMC's and is
  checked before use.
**/
#include "VramLink.h"

#include <Ppi/ZubIpmiTransport.h>
#include <Library/BaseMemoryLib.h>
#include <Library/Crc32Lib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>

#define TRIGGER_TRIES        5
#define OEM_CMD_TRIGGER      0x04

// The maker's IANA number 0x004E5B, least significant byte first, then the sub-command.
STATIC CONST UINT8  mTriggerRequest[] = { 0x5B, 0x4E, 0x00, 0x20 };

#define HEADER_CRC_OFFSET  OFFSET_OF (QUICK_TRANS_HEADER, Signature)

STATIC
UINT32
HeaderCrc (
  IN CONST QUICK_TRANS_HEADER  *Header
  )
{
  return CalculateCrc32 ((CONST UINT8 *)Header + HEADER_CRC_OFFSET, sizeof (QUICK_TRANS_HEADER) - HEADER_CRC_OFFSET);
}

EFI_STATUS
QuickTransAreas (
  OUT UINT8  **Request,
  OUT UINT8  **Answer
  )
{
  UINT32  End;
  UINT32  Probe;

  End      = PcdGet32 (PcdZubVgaMemoryBase) + PcdGet32 (PcdZubVgaMemorySize);
  *Answer  = (UINT8 *)PhysicalAddressToPointer ((UINT32)(End - QUICK_TRANS_ANSWER_FROM_END), QUICK_TRANS_AREA_SIZE);
  *Request = (UINT8 *)PhysicalAddressToPointer ((UINT32)(End - QUICK_TRANS_REQUEST_FROM_END), QUICK_TRANS_AREA_SIZE);
  if ((*Answer != NULL) && (*Request != NULL)) {
    return EFI_SUCCESS;
  }
  //
  // Not memory: what a signature written there reads back as.
  //
  MmioWrite32 ((UINT32)(End - QUICK_TRANS_REQUEST_FROM_END) + OFFSET_OF (QUICK_TRANS_HEADER, Signature),
               QUICK_TRANS_SIGNATURE);
  Probe = MmioRead32 ((UINT32)(End - QUICK_TRANS_REQUEST_FROM_END) + OFFSET_OF (QUICK_TRANS_HEADER, Signature));
  DEBUG ((DEBUG_ERROR, "Data is not written to dest buffer 0x%08X\n", Probe));
  return EFI_NO_MAPPING;
}

STATIC
EFI_STATUS
TriggerBmc (
  VOID
  )
{
  ZUB_IPMI_TRANSPORT_PPI  *Ipmi;
  EFI_STATUS              Status;
  UINT8                   Response[3];
  UINT8                   ResponseSize;
  UINTN                   Try;

  Status = PeiServicesLocatePpi (&gZubIpmiTransportPpiGuid, 0, NULL, (VOID **)&Ipmi);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate ipmi transport ppi %r\n", Status));
    return Status;
  }
  ZeroMem (Response, sizeof (Response));
  for (Try = 0; Try < TRIGGER_TRIES; Try++) {
    ResponseSize = sizeof (Response);
    Status = Ipmi->IpmiSendOemCommand (Ipmi, OEM_CMD_TRIGGER, (UINT8 *)mTriggerRequest, sizeof (mTriggerRequest),
                                       Response, &ResponseSize);
    DEBUG ((DEBUG_INFO, "Trigger BMC %r\n", Status));
    if (!EFI_ERROR (Status)) {
      break;
    }
  }
  return Status;
}

STATIC
VOID
DumpHeader (
  IN CONST QUICK_TRANS_HEADER  *Header
  )
{
  CONST UINT8  *Bytes;
  UINTN        Index;

  Bytes = (CONST UINT8 *)Header;
  DEBUG ((DEBUG_INFO, "===== CMD head dump begin ====\n"));
  for (Index = 0; Index < 32; Index++) {
    DEBUG ((DEBUG_INFO, "%02x ", Bytes[Index]));
    if ((Index % 16) == 15) {
      DEBUG ((DEBUG_INFO, "\n"));
    }
  }
  DEBUG ((DEBUG_INFO, "\n===== CMD head dump end ====\n"));
}

STATIC
EFI_STATUS
ValidateAnswer (
  IN CONST QUICK_TRANS_HEADER  *Answer
  )
{
  UINT32  Computed;

  Computed = HeaderCrc (Answer);
  if (Computed != Answer->HeaderCrc) {
    DEBUG ((DEBUG_ERROR, "Header crc32 mismatch 0x%x 0x%x\n", Answer->HeaderCrc, Computed));
    DumpHeader (Answer);
    return EFI_CRC_ERROR;
  }
  if (Answer->Signature != QUICK_TRANS_SIGNATURE) {
    DEBUG ((DEBUG_ERROR, "Invalid signature 0x%x\n", Answer->Signature));
    DumpHeader (Answer);
    return EFI_CRC_ERROR;
  }
  //
  // The answer area holds at most QUICK_TRANS_MAX_DATA bytes; a longer claim would make
  // every reader run past it.
  //
  if (Answer->DataLength > QUICK_TRANS_MAX_DATA) {
    DEBUG ((DEBUG_ERROR, "Answer data length 0x%X beyond the area\n", Answer->DataLength));
    DumpHeader (Answer);
    return EFI_BAD_BUFFER_SIZE;
  }
  if ((Answer->DataLength != 0) && ((Answer->Flags & QUICK_TRANS_FLAG_DATA_CRC) != 0)) {
    Computed = CalculateCrc32 ((CONST UINT8 *)Answer + QUICK_TRANS_DATA_OFFSET, Answer->DataLength);
    if (Computed != Answer->DataCrc) {
      DEBUG ((DEBUG_ERROR, "Data crc32 mismatch 0x%x 0x%x\n", Computed, Answer->DataCrc));
      return EFI_CRC_ERROR;
    }
  }
  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
QuickTransSendCommand (
  IN  UINT16              Command,
  IN  VOID                *Params,
  IN  UINT32              DataLength,
  IN  VOID                *Data OPTIONAL,
  OUT QUICK_TRANS_HEADER  **Answer
  )
{
  EFI_STATUS          Status;
  UINT8               *RequestArea;
  UINT8               *AnswerArea;
  QUICK_TRANS_HEADER  *Request;
  UINT32              DataCrc;

  if ((Command == 0) || (Command > QUICK_TRANS_MAX_COMMAND) || (Params == NULL) ||
      (DataLength > QUICK_TRANS_MAX_DATA) || (Answer == NULL)) {
    return EFI_INVALID_PARAMETER;
  }
  Status = QuickTransAreas (&RequestArea, &AnswerArea);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Request = (QUICK_TRANS_HEADER *)RequestArea;
  ZeroMem (Request, 32);
  Request->Signature  = QUICK_TRANS_SIGNATURE;
  Request->Command    = Command;
  Request->Version    = QUICK_TRANS_VERSION;
  Request->Flags      = QUICK_TRANS_FLAG_DATA_CRC;
  Request->DataLength = DataLength;
  if (DataLength != 0) {
    if (Data != NULL) {
      CopyMem (RequestArea + QUICK_TRANS_DATA_OFFSET, Data, DataLength);
    }
    DataCrc = CalculateCrc32 (RequestArea + QUICK_TRANS_DATA_OFFSET, DataLength);
    Request->DataCrc = DataCrc;
    DEBUG ((DEBUG_INFO, "Cmd %u DataLen:%u DataCrc:0x%X\n", Command, DataLength, DataCrc));
  }
  CopyMem (Request->Params, Params, sizeof (Request->Params));
  Request->HeaderCrc = HeaderCrc (Request);

  if (Request->Signature != QUICK_TRANS_SIGNATURE) {
    DEBUG ((DEBUG_ERROR, "Data is not written to dest buffer 0x%08X\n", Request->Signature));
    return EFI_NO_MAPPING;
  }
  Status = TriggerBmc ();
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Status = ValidateAnswer ((CONST QUICK_TRANS_HEADER *)AnswerArea);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  *Answer = (QUICK_TRANS_HEADER *)AnswerArea;
  return EFI_SUCCESS;
}
