/** @file
  push_BiosStartBoot.json: the firmware's code and versions and its build time.
**/
#include "ReportPush.h"
#include "JsonWriter.h"

#include <Ppi/QuickTrans.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/PrintLib.h>

//
// The build's date and time, fixed when this file is compiled ("Dec 11 2026", "04:30:00").
//
STATIC CONST CHAR8  mBuildDate[] = __DATE__;
STATIC CONST CHAR8  mBuildTime[] = __TIME__;

STATIC
UINT32
Digits (
  IN CONST CHAR8  *Text,
  IN UINTN        Count
  )
{
  UINT32  Value;
  UINTN   Index;

  Value = 0;
  for (Index = 0; Index < Count; Index++) {
    Value = Value * 10 + ((Text[Index] >= '0' && Text[Index] <= '9') ? (UINT32)(Text[Index] - '0') : 0);
  }
  return Value;
}

STATIC
UINT32
BuildMonth (
  VOID
  )
{
  STATIC CONST CHAR8  Months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  UINT32              Index;

  for (Index = 0; Index < 12; Index++) {
    if ((mBuildDate[0] == Months[Index * 3]) && (mBuildDate[1] == Months[Index * 3 + 1]) &&
        (mBuildDate[2] == Months[Index * 3 + 2])) {
      return Index + 1;
    }
  }
  return 1;
}

STATIC
CONST CHAR8 *
PcdText (
  IN UINTN  Token
  )
{
  CONST CHAR8  *Text;

  Text = (CONST CHAR8 *)LibPcdGetPtr (Token);
  return (Text != NULL) ? Text : "";
}

STATIC
EFI_STATUS
EFIAPI
StartBootHook (
  IN  UINT32  MaxSize,
  OUT VOID    *Buffer,
  OUT UINT32  *Size
  )
{
  CHAR8        BuildTime[64];
  JSON_WRITER  Writer;

  AsciiSPrint (BuildTime, sizeof (BuildTime), "%04u/%02u/%02u %02u:%02u:%02u", Digits (mBuildDate + 7, 4),
               BuildMonth (), Digits (mBuildDate + 4, 2), Digits (mBuildTime, 2), Digits (mBuildTime + 3, 2),
               Digits (mBuildTime + 6, 2));
  JsonBegin (&Writer, Buffer, MaxSize);
  JsonOpen (&Writer, '{');
  JsonString (&Writer, "Code", PcdText (PcdToken (PcdZubBiosCode)));
  JsonString (&Writer, "IntVer", PcdText (PcdToken (PcdZubBiosIntVer)));
  JsonString (&Writer, "ExtVer", PcdText (PcdToken (PcdZubBiosExtVer)));
  JsonString (&Writer, "HideVer", PcdText (PcdToken (PcdZubHiddenVer)));
  JsonString (&Writer, "BuildTime", BuildTime);
  JsonClose (&Writer, '}');
  *Size = Writer.Pos;
  return EFI_SUCCESS;
}

EFI_STATUS
EFIAPI
ZubCustomUploadStartBootNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  QUICK_TRANS_PPI  *QuickTrans;
  EFI_STATUS       Status;

  DEBUG ((DEBUG_INFO, "ZubCustomUploadStartBootNotify ---start\n"));
  Status = PeiServicesLocatePpi (&gQuickTransPpiGuid, 0, NULL, (VOID **)&QuickTrans);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate quick trans ppi %r\n", Status));
    return Status;
  }
  return QuickTrans->PushFile ("push_BiosStartBoot.json", 0, StartBootHook);
}
