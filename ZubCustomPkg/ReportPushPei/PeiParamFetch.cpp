/** @file
  The BMC's PEI parameter block: fetched over the quick-transfer channel with ten tries
  two seconds apart, printed, and published as PCDs. The block comes from the BMC: only
  the bytes it answered are used (the rest reads as zero) and every string is bounded by
  its field.
**/
#include "ReportPush.h"

#include <Guid/BmcPeiParam.h>
#include <Guid/StatusCodeDataTypeId.h>
#include <Ppi/QuickTrans.h>
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/TimerLib.h>

#define FETCH_TRIES          10
#define FETCH_RETRY_WAIT_US  2000000
#define OEM_FLAG_FROM_AREA   3
#define CHECK_AREA_BASE      30

typedef struct {
  EFI_STATUS_CODE_DATA  Header;
  UINT32                WarningCode;
} WARNING_STATUS_DATA;

//
// A string field as a NUL-terminated copy, never longer than the field.
//
typedef struct {
  CHAR8  Text[65];
} FIELD_TEXT;

STATIC
CONST CHAR8 *
FieldText (
  OUT FIELD_TEXT   *Out,
  IN  CONST CHAR8  *Field,
  IN  UINTN        Width
  )
{
  UINTN  Length;

  Length = AsciiStrnLenS (Field, Width);
  CopyMem (Out->Text, Field, Length);
  Out->Text[Length] = '\0';
  return Out->Text;
}

STATIC
VOID
SetTextPcd (
  IN UINTN        Token,
  IN CONST CHAR8  *Text
  )
{
  UINTN  Size;

  Size = AsciiStrLen (Text) + 1;
  LibPcdSetPtrS (Token, &Size, Text);      // a store that does not fit is ignored
}

STATIC
VOID
ReportFetchFailure (
  VOID
  )
{
  WARNING_STATUS_DATA  Data;

  Data.Header.HeaderSize = sizeof (EFI_STATUS_CODE_DATA);
  Data.Header.Size       = sizeof (UINT32);
  CopyGuid (&Data.Header.Type, &gEfiStatusCodeSpecificDataGuid);
  Data.WarningCode       = ZUB_WARNING_BMC_PARAM_FAILED;
  PeiServicesReportStatusCode (EFI_PROGRESS_CODE, 0xFFFFFFFF, 0, &gZubReportPushPeiFileGuid, &Data.Header);
}

STATIC
VOID
DumpPeiParam (
  IN CONST BMC_PEI_PARAM  *Param
  )
{
  FIELD_TEXT  Text;

  DEBUG ((DEBUG_INFO, "\n======= BMC PEI PARAM DUMP =======\n"));
  DEBUG ((DEBUG_INFO, "OemFlag: %u\n", Param->OemFlag));
  DEBUG ((DEBUG_INFO, "CheckArea: %u\n", Param->CheckArea));
  DEBUG ((DEBUG_INFO, "CustomID: %u\n", Param->CustomID));
  DEBUG ((DEBUG_INFO, "ForceCleanLogoCache: %u\n", Param->ForceCleanLogoCache));
  DEBUG ((DEBUG_INFO, "NetIfMode: %u\n", Param->NetIfMode));
  DEBUG ((DEBUG_INFO, "DedicatedIPv4Addr: <%a>\n", FieldText (&Text, Param->DedicatedIPv4Addr, sizeof (Param->DedicatedIPv4Addr))));
  DEBUG ((DEBUG_INFO, "DedicatedIPv6Addr: <%a>\n", FieldText (&Text, Param->DedicatedIPv6Addr, sizeof (Param->DedicatedIPv6Addr))));
  if (Param->NetIfMode == BMC_NET_IF_DEDICATED_AND_SHARED) {
    DEBUG ((DEBUG_INFO, "ShareIPv4Addr: <%a>\n", FieldText (&Text, Param->ShareIPv4Addr, sizeof (Param->ShareIPv4Addr))));
    DEBUG ((DEBUG_INFO, "ShareIPv6Addr: <%a>\n", FieldText (&Text, Param->ShareIPv6Addr, sizeof (Param->ShareIPv6Addr))));
  }
  DEBUG ((DEBUG_INFO, "XDragonSlot: %x\n", Param->XDragonSlot));
  DEBUG ((DEBUG_INFO, "Moc15Slot: %x\n", Param->Moc15Slot));
}

STATIC
VOID
PublishPeiParam (
  IN CONST BMC_PEI_PARAM  *Param,
  IN UINT32               DataLength
  )
{
  FIELD_TEXT  Text;
  UINT32      OemFlag;

  OemFlag = (Param->OemFlag < OEM_FLAG_FROM_AREA) ? Param->OemFlag : Param->CheckArea + CHECK_AREA_BASE;
  PcdSet8S (PcdZubOemFlag, (UINT8)OemFlag);
  PcdSet8S (PcdZubCustomId, (UINT8)Param->CustomID);
  PcdSet8S (PcdZubForceCleanLogoCache, (UINT8)Param->ForceCleanLogoCache);
  SetTextPcd (PcdToken (PcdZubBmcDedicatedIpv4), FieldText (&Text, Param->DedicatedIPv4Addr, sizeof (Param->DedicatedIPv4Addr)));
  SetTextPcd (PcdToken (PcdZubBmcDedicatedIpv6), FieldText (&Text, Param->DedicatedIPv6Addr, sizeof (Param->DedicatedIPv6Addr)));
  if (Param->NetIfMode == BMC_NET_IF_DEDICATED_ONLY) {
    PcdSet8S (PcdZubBmcDedicatedOnly, 1);
  } else {
    SetTextPcd (PcdToken (PcdZubBmcShareIpv4), FieldText (&Text, Param->ShareIPv4Addr, sizeof (Param->ShareIPv4Addr)));
    SetTextPcd (PcdToken (PcdZubBmcShareIpv6), FieldText (&Text, Param->ShareIPv6Addr, sizeof (Param->ShareIPv6Addr)));
  }
  if (DataLength >= OFFSET_OF (BMC_PEI_PARAM, XDragonSlot) + sizeof (UINT32)) {
    PcdSet32S (PcdZubXDragonSlot, Param->XDragonSlot);
  }
  if (DataLength >= sizeof (BMC_PEI_PARAM)) {
    PcdSet32S (PcdZubMoc15Slot, Param->Moc15Slot);
  }
}

EFI_STATUS
EFIAPI
PeiParamFetchNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  QUICK_TRANS_PPI     *QuickTrans;
  QUICK_TRANS_HEADER  *Answer;
  EFI_STATUS          Status;
  UINT8               Params[224];
  UINT32              Try;
  BMC_PEI_PARAM       Param;
  UINT32              Length;

  Status = PeiServicesLocatePpi (&gQuickTransPpiGuid, 0, NULL, (VOID **)&QuickTrans);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate quick trans ppi %r\n", Status));
    return Status;
  }
  Answer = NULL;
  for (Try = 0; Try < FETCH_TRIES; Try++) {
    ZeroMem (Params, sizeof (Params));
    Status = QuickTrans->SendCommand (QUICK_TRANS_CMD_GET_PEI_PARAM, Params, 0, NULL, &Answer);
    if (!EFI_ERROR (Status)) {
      break;
    }
    DEBUG ((DEBUG_ERROR, "Failed to get pei param i=%u %r, now retry...\n", Try, Status));
    MicroSecondDelay (FETCH_RETRY_WAIT_US);
  }
  if (EFI_ERROR (Status)) {
    ReportFetchFailure ();
    return Status;
  }
  DEBUG ((DEBUG_ERROR, "PEI PARAM DataLen=%d\n", Answer->DataLength));
  //
  // The answer's data length is bounded by the channel; take only what it covers.
  //
  ZeroMem (&Param, sizeof (Param));
  Length = (Answer->DataLength < sizeof (Param)) ? Answer->DataLength : sizeof (Param);
  CopyMem (&Param, (UINT8 *)Answer + QUICK_TRANS_DATA_OFFSET, Length);
  DumpPeiParam (&Param);
  PublishPeiParam (&Param, Answer->DataLength);
  return EFI_SUCCESS;
}
