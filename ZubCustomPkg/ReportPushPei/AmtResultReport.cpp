/** @file
  push_AmtResult.json: the settings and results of the reference code's advanced memory
  test and its post-package repairs, per tested DIMM, from the reference code's data as
  its pointer table publishes it.
**/
#include "ReportPush.h"
#include "JsonWriter.h"

#include <Ppi/QuickTrans.h>
#include <RefCode/RcHostPointerTable.h>
#include <RefCode/RcMemoryTest.h>
#include <RefCode/RcRevision.h>
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/HobLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/PlatformSetupLib.h>
#include <Library/PrintLib.h>
#include <ZubBuildVersion.h>

#define AMT_KEY_TEXT_SIZE     512
#define AMT_RECORD_TEXT_SIZE  160

typedef struct {
  UINT32  Twr;
  UINT32  Vdd;
  UINT32  Trefi;
  UINT32  Pause;
} AMT_TEST_PARAMS;

//
// Vendor tests in the order of their enable bits; Micron runs with the custom values.
//
typedef struct {
  CONST CHAR8      *Name;
  UINT32           EnableBit;
  UINT16           ManufacturerId;
  BOOLEAN          Custom;
  AMT_TEST_PARAMS  Params;
} AMT_VENDOR;

STATIC CONST AMT_VENDOR  mAmtVendors[] = {
  { "Hynix",   RC_AMT_HYNIX_ENABLE,   RC_DRAM_MFG_HYNIX,   FALSE, { 8, 1260, 7800,  100 } },
  { "Samsung", RC_AMT_SAMSUNG_ENABLE, RC_DRAM_MFG_SAMSUNG, FALSE, { 8, 1200, 15600, 8   } },
  { "Micron",  RC_AMT_MICRON_ENABLE,  RC_DRAM_MFG_MICRON,  TRUE,  { 0, 0,    0,     0   } }
};

STATIC CONST CHAR8  *mPprStatusText[] = {
  NULL, "PPR Disable", "PPR Hard Success", "PPR Soft Success", "PPR Limit Exceed", "PPR Fail"
};

typedef struct {
  RC_MEMORY_TEST_OPTIONS  *Options;
  RC_MEMORY_TOPOLOGY      *Topology;
  RC_SILICON_SERVICES     *Services;
} AMT_DATA;

//
// The reference code's pointer table: from its HOB once memory is there, else from MMX
// register 7 where the reference code leaves it.
//
STATIC
EFI_STATUS
LocateAmtData (
  OUT AMT_DATA  *Data
  )
{
  VOID                   *Hob;
  UINT64                 Address;
  RC_HOST_POINTER_TABLE  *Table;

  ZeroMem (Data, sizeof (*Data));
  Address = 0;
  Hob     = GetFirstGuidHob (&gRcHostPointerTableHobGuid);
  if ((Hob != NULL) && (GET_GUID_HOB_DATA_SIZE (Hob) >= sizeof (UINT64))) {
    CopyMem (&Address, GET_GUID_HOB_DATA (Hob), sizeof (Address));
  }
  if (Address == 0) {
    Address = AsmReadMm7 ();
  }
  Table = (RC_HOST_POINTER_TABLE *)(UINTN)Address;
  if ((Table == NULL) || (Table->Signature != RC_HOST_POINTER_TABLE_SIGNATURE) || (Table->SysHost == 0) ||
      (Table->SetupData == 0)) {
    return EFI_NOT_FOUND;
  }
  Data->Options  = (RC_MEMORY_TEST_OPTIONS *)(UINTN)(Table->SetupData + RC_SETUP_MEMORY_TEST_OFFSET);
  Data->Topology = (RC_MEMORY_TOPOLOGY *)(UINTN)(Table->SysHost + RC_SYSHOST_MEMORY_OFFSET);
  Data->Services = (RC_SILICON_SERVICES *)(UINTN)Table->SiliconServices;
  return EFI_SUCCESS;
}

STATIC
CONST CHAR8 *
CpuTypeText (
  IN CONST RC_SILICON_SERVICES  *Services
  )
{
  UINT8  CpuType;
  UINT8  CpuRevision;

  if ((Services == NULL) || (Services->GetCpuAndRevision == NULL) ||
      EFI_ERROR (Services->GetCpuAndRevision (&CpuType, &CpuRevision))) {
    return "ICX";
  }
  if (CpuType == RC_CPU_TYPE_SKX) {
    return "SKX";
  }
  return (CpuType == RC_CPU_TYPE_CPX) ? "CPX" : "ICX";
}

STATIC
BOOLEAN
RecordEmpty (
  IN CONST AMT_ERROR_RECORD  *Record
  )
{
  return (BOOLEAN)((Record->Rank == 0) && (Record->Bank == 0) && (Record->Row == 0) && (Record->Column == 0));
}

STATIC
BOOLEAN
RepairSucceeded (
  IN UINT8  Status
  )
{
  return (BOOLEAN)((Status == AMT_PPR_HARD_SUCCESS) || (Status == AMT_PPR_SOFT_SUCCESS));
}

//
// A row whose repair succeeded in one record is repaired, even where another record of the
// same rank, bank and row ran into the repair limit.
//
STATIC
VOID
MergeRepairs (
  IN OUT RC_AMT_DIMM  *Dimm
  )
{
  AMT_ERROR_RECORD  *Done;
  AMT_ERROR_RECORD  *Other;
  UINTN             Index;
  UINTN             Look;

  for (Index = 0; Index < RC_AMT_MAX_RECORDS; Index++) {
    Done = &Dimm->PprRecord[Index];
    if (RecordEmpty (Done) || !RepairSucceeded (Done->Status)) {
      continue;
    }
    for (Look = 0; Look < RC_AMT_MAX_RECORDS; Look++) {
      Other = &Dimm->PprRecord[Look];
      if (!RecordEmpty (Other) && (Other->Status == AMT_PPR_LIMIT_EXCEED) && (Other->Rank == Done->Rank) &&
          (Other->Bank == Done->Bank) && (Other->Row == Done->Row)) {
        Other->Status = Done->Status;
      }
    }
  }
}

STATIC
VOID
RecordText (
  OUT CHAR8                  *Text,
  IN CONST AMT_ERROR_RECORD  *Record
  )
{
  if ((Record->Status >= AMT_PPR_DISABLE) && (Record->Status <= AMT_PPR_FAIL)) {
    AsciiSPrint (Text, AMT_RECORD_TEXT_SIZE, "rank:%d bg:%d bank:%d row:0x%08x column:0x%08x Dq:%d Temp:%d'C %a",
                 Record->Rank, Record->BankGroup, Record->Bank, Record->Row, Record->Column, (INT32)Record->Dq,
                 (INT32)Record->Temperature, mPprStatusText[Record->Status]);
  } else {
    AsciiSPrint (Text, AMT_RECORD_TEXT_SIZE, "rank:%d bg:%d bank:%d row:0x%08x column:0x%08x Dq:%d Unknown:%x",
                 Record->Rank, Record->BankGroup, Record->Bank, Record->Row, Record->Column, (INT32)Record->Dq,
                 Record->Status);
  }
}

//
// One DIMM: its key, its non-empty records and its verdict.
//
STATIC
VOID
WriteDimm (
  IN OUT JSON_WRITER  *Writer,
  IN UINTN            Socket,
  IN UINTN            Channel,
  IN UINTN            Slot,
  IN UINT8            ChannelStatus,
  IN OUT RC_AMT_DIMM  *Dimm
  )
{
  CHAR8   Key[AMT_KEY_TEXT_SIZE];
  CHAR8   PartNumber[sizeof (Dimm->PartNumber) + 1];
  CHAR8   Text[AMT_RECORD_TEXT_SIZE];
  UINTN   Index;
  UINT32  Issues;

  // The part number field carries no NUL of its own.
  CopyMem (PartNumber, Dimm->PartNumber, sizeof (Dimm->PartNumber));
  PartNumber[sizeof (Dimm->PartNumber)] = '\0';
  AsciiSPrint (Key, sizeof (Key), "Socket%d Channel%d Dimm%d ww%02d 20%02d PN:%a SN:%02x%02x%02x%02x", (UINT32)Socket,
               (UINT32)Channel, (UINT32)Slot, BcdToDecimal8 (Dimm->ManufactureWeek),
               BcdToDecimal8 (Dimm->ManufactureYear), PartNumber, Dimm->SerialNumber[0], Dimm->SerialNumber[1],
               Dimm->SerialNumber[2], Dimm->SerialNumber[3]);
  JsonKey (Writer, Key);
  JsonOpen (Writer, '[');

  MergeRepairs (Dimm);
  Issues = 0;
  for (Index = 0; Index < RC_AMT_MAX_RECORDS; Index++) {
    if (RecordEmpty (&Dimm->PprRecord[Index])) {
      continue;
    }
    RecordText (Text, &Dimm->PprRecord[Index]);
    JsonElement (Writer, Text);
    if (!RepairSucceeded (Dimm->PprRecord[Index].Status)) {
      Issues++;
    }
  }
  DEBUG ((DEBUG_INFO, "PprCount:%d\n", Issues));
  if (Issues != 0) {
    JsonElement (Writer, "Test Result Fail");
  } else if (ChannelStatus == RC_CHANNEL_TEST_PASSED) {
    JsonElement (Writer, "Test Result Pass");
  } else {
    JsonElement (Writer, "Test Result Skip");
  }
  JsonCloseMember (Writer, ']');
}

STATIC
EFI_STATUS
EFIAPI
AmtResultHook (
  IN  UINT32  MaxSize,
  OUT VOID    *Buffer,
  OUT UINT32  *Size
  )
{
  SOCKET_MEMORY_CONFIGURATION  MemoryConfig;
  AMT_DATA                     Data;
  CONST AMT_VENDOR             *Vendor;
  AMT_TEST_PARAMS              Params;
  JSON_WRITER                  Writer;
  EFI_STATUS                   Status;
  UINT32                       Options;
  UINT32                       Vendors;
  UINT16                       Filter;
  UINT32                       Sockets;
  UINTN                        Index;
  UINTN                        Socket;
  UINTN                        Channel;
  UINTN                        Slot;
  RC_AMT_SOCKET                *SocketData;
  RC_AMT_DIMM                  *Dimm;

  DEBUG ((DEBUG_INFO, "ZubCustomFillAmtResultJson ---start\n"));
  Status = LocateAmtData (&Data);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Status = GetSocketMemoryConfig (&MemoryConfig);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get socket memory config %r\n", Status));     // reads as test off
  }
  Options = Data.Options->Options;

  JsonBegin (&Writer, Buffer, MaxSize);
  JsonOpen (&Writer, '{');
  if (((Options & RC_AMT_VENDOR_MASK) == 0) || (MemoryConfig.AdvMemTestEnable == 0)) {
    //
    // The note is the document's only member; a bare string would not be JSON.
    //
    JsonString (&Writer, "Test Not Open", "");
    JsonClose (&Writer, '}');
    *Size = Writer.Pos;
    DEBUG ((DEBUG_INFO, "ZubCustomFillAmtResultJson ---end\n"));
    return EFI_SUCCESS;
  }

  Sockets = 0;
  for (Socket = 0; Socket < RC_MAX_SOCKET; Socket++) {
    if (Data.Topology->Socket[Socket].Present != 0) {
      Sockets++;
    }
  }

  Vendors = 0;
  Filter  = 0;
  ZeroMem (&Params, sizeof (Params));
  for (Index = 0; Index < ARRAY_SIZE (mAmtVendors); Index++) {
    Vendor = &mAmtVendors[Index];
    if ((Options & Vendor->EnableBit) == 0) {
      continue;
    }
    Vendors++;
    JsonString (&Writer, "Test Open", Vendor->Name);
    Filter = Vendor->ManufacturerId;
    Params = Vendor->Params;
    if (Vendor->Custom) {
      Params.Twr   = Data.Options->CustomTwr;
      Params.Vdd   = Data.Options->CustomVdd;
      Params.Trefi = Data.Options->CustomTrefi;
      Params.Pause = Data.Options->CustomPause;
    }
  }
  if (Data.Options->ParamMode == RC_AMT_PARAM_MODE_CUSTOM) {
    Params.Twr   = Data.Options->CustomTwr;
    Params.Vdd   = Data.Options->CustomVdd;
    Params.Trefi = Data.Options->CustomTrefi;
    Params.Pause = Data.Options->CustomPause;
  }

  JsonString (&Writer, "BIOS Version", ZUB_FIRMWARE_BUILD_VERSION);
  JsonUnicodeString (&Writer, "RC Revision", RC_REVISION_TEXT);
  JsonString (&Writer, "CPU Type", CpuTypeText (Data.Services));
  JsonNumber (&Writer, "InstallSockets", Sockets);
  JsonNumber (&Writer, "MaxChannels", RC_MAX_CH);
  JsonNumber (&Writer, "MaxDimms", RC_MAX_DIMM);
  JsonNumber (&Writer, "PerDimmMaxIssues", RC_AMT_MAX_RECORDS);
  JsonNumber (&Writer, "DimmPPRCount", Data.Options->DimmPprCount);
  JsonNumber (&Writer, "SocketPPRCount", Data.Options->SocketPprCount);
  JsonNumber (&Writer, "Loops", Data.Options->Loops);
  if (Vendors == 1) {
    JsonNumber (&Writer, "Twr", Params.Twr);
    JsonNumber (&Writer, "Vdd", Params.Vdd);
    JsonNumber (&Writer, "Trefi", Params.Trefi);
    JsonNumber (&Writer, "Pause", Params.Pause);
  }
  JsonNumber (&Writer, "PPR", Data.Options->Ppr);

  JsonKey (&Writer, "ErrorInfoList");
  JsonOpen (&Writer, '{');
  for (Socket = 0; Socket < RC_MAX_SOCKET; Socket++) {
    SocketData = &Data.Topology->Socket[Socket];
    if (SocketData->Present == 0) {
      continue;
    }
    for (Channel = 0; Channel < RC_MAX_CH; Channel++) {
      for (Slot = 0; Slot < RC_MAX_DIMM; Slot++) {
        Dimm = &SocketData->Channel[Channel].Dimm[Slot];
        if ((Dimm->Present == 0) || ((Vendors == 1) && (Dimm->ManufacturerId != Filter))) {
          continue;
        }
        WriteDimm (&Writer, Socket, Channel, Slot, SocketData->Channel[Channel].TestStatus, Dimm);
      }
    }
  }
  JsonClose (&Writer, '}');
  JsonClose (&Writer, '}');
  *Size = Writer.Pos;
  DEBUG ((DEBUG_INFO, "ZubCustomFillAmtResultJson ---end\n"));
  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
ZubCustomUploadAmtResultNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  QUICK_TRANS_PPI  *QuickTrans;
  AMT_DATA         Data;
  EFI_STATUS       Status;

  DEBUG ((DEBUG_INFO, "ZubCustomUploadAmtResultNotify ---start\n"));
  Status = PeiServicesLocatePpi (&gQuickTransPpiGuid, 0, NULL, (VOID **)&QuickTrans);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate quick trans ppi %r\n", Status));
    return Status;
  }
  if (EFI_ERROR (LocateAmtData (&Data))) {
    DEBUG ((DEBUG_ERROR, "Memory test data not available\n"));
    return EFI_NOT_FOUND;
  }
  return QuickTrans->PushFile ("push_AmtResult.json", 0, AmtResultHook);
}
