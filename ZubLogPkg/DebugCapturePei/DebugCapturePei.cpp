/** @file
  DebugCapturePei: keeps the books of the PEI debug-log window. The VGA bring-up declares
  the window through ZUB_LOG_PPI; the header written at its base carries the window and
  the boot time from the CMOS clock; at the end of PEI a GUID HOB hands it to the next
  phase. The platform's debug output writes the text itself.
**/
#include <PiPei.h>
#include <Guid/ZubLogWindow.h>
#include <Ppi/ReadOnlyVariable2.h>
#include <Ppi/ZubLog.h>
#include <Ppi/EndOfPeiPhase.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/HobLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/ZubDylLib.h>
#include <ZubBuildVersion.h>

#define CMOS_UPPER_INDEX      0x72
#define CMOS_UPPER_DATA       0x73
#define CMOS_LOG_FLAGS        0x54
#define CMOS_DEBUG_MODE_MASK  (BIT1 | BIT0)
#define CMOS_LOG_WINDOW       BIT6

STATIC UINT8
CmosUpperRead (
  IN UINT8  Index
  )
{
  IoWrite8 (CMOS_UPPER_INDEX, Index);
  return IoRead8 (CMOS_UPPER_DATA);
}

STATIC VOID
CmosUpperWrite (
  IN UINT8  Index,
  IN UINT8  Value
  )
{
  IoWrite8 (CMOS_UPPER_INDEX, Index);
  IoWrite8 (CMOS_UPPER_DATA, Value);
}

STATIC VOID
ReadLogOptions (
  VOID
  )
{
  EFI_PEI_READ_ONLY_VARIABLE2_PPI  *Variables;
  UINT8                            Config[ZUB_MISC_CFG_SIZE];
  UINTN                            Size = sizeof (Config);
  UINT8                            Flags;
  EFI_STATUS                       Status;

  Status = PeiServicesLocatePpi (&gEfiPeiReadOnlyVariable2PpiGuid, 0, NULL, (VOID **)&Variables);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate read only variable ppi %r\n", Status));
    return;
  }
  ZeroMem (Config, sizeof (Config));
  Status = Variables->GetVariable (Variables, ZUB_MISC_CFG_VARIABLE_NAME, &gZubMiscCfgVariableGuid, NULL, &Size, Config);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get ZubMiscCfg variable %r\n", Status));
    return;
  }
  PcdSet8S (PcdZubMiscCfg4, Config[4]);
  Flags = CmosUpperRead (CMOS_LOG_FLAGS);
  Flags = (UINT8)((Flags & ~CMOS_DEBUG_MODE_MASK) | ((Config[0] != 0) ? 1 : 2));
  CmosUpperWrite (CMOS_LOG_FLAGS, Flags);
  PcdSet8S (PcdZubMiscCfg0, Config[0]);
  PcdSet8S (PcdZubMiscCfg1, Config[1]);
}

STATIC VOID
InitTimeStamp (
  VOID
  )
{
  EFI_TIME  Time;

  DEBUG ((DEBUG_INFO, "ZubLogInitTimeStamp ---start\n"));
  // A clock that cannot be read (invalid, or stuck in an update) stamps the log with zeros.
  ZeroMem (&Time, sizeof (Time));
  if (EFI_ERROR (RtcReadTime (&Time))) {
    ZeroMem (&Time, sizeof (Time));
  }
  DEBUG ((DEBUG_INFO, "Time stamp from CMOS: %04u/%02u/%02u %02u:%02u:%02u\n", Time.Year, Time.Month, Time.Day,
          Time.Hour, Time.Minute, Time.Second));
  PcdSet32S (PcdZubLogDate, ((UINT32)Time.Year << 16) | ((UINT32)Time.Month << 8) | Time.Day);
  PcdSet32S (PcdZubLogTime, ((UINT32)Time.Hour << 16) | ((UINT32)Time.Minute << 8) | Time.Second);
}

STATIC EFI_STATUS EFIAPI
SetLogRange (
  IN ZUB_LOG_PPI  *This,
  IN UINT32       Base,
  IN UINT32       Length
  )
{
  LOG_RECORD_HEADER  *Header;

  DEBUG ((DEBUG_INFO, "Set log range 0x%X 0x%X\n", Base, Length));
  PcdSet32S (PcdZubLogBufferBase, Base);
  PcdSet32S (PcdZubLogBufferSize, Length);
  Header = (LOG_RECORD_HEADER *)PhysicalAddressToPointer (Base, sizeof (LOG_RECORD_HEADER));
  if ((Header != NULL) && (Length >= sizeof (LOG_RECORD_HEADER))) {
    ZeroMem (Header, sizeof (*Header));
    Header->Signature = LOG_RECORD_SIGNATURE;
    Header->Base      = Base;
    Header->Length    = Length;
    Header->Date      = PcdGet32 (PcdZubLogDate);
    Header->Time      = PcdGet32 (PcdZubLogTime);
  }
  CmosUpperWrite (CMOS_LOG_FLAGS, (UINT8)(CmosUpperRead (CMOS_LOG_FLAGS) | CMOS_LOG_WINDOW));

  DEBUG ((DEBUG_INFO, "<< ZUB PEI debug log record begin >>\n"));
  DEBUG ((DEBUG_INFO, "<< %a >>\n", ZUB_FIRMWARE_BUILD_VERSION));
  UINT32 Date = PcdGet32 (PcdZubLogDate);
  UINT32 Time = PcdGet32 (PcdZubLogTime);
  DEBUG ((DEBUG_INFO, "Time stamp from CMOS: %04u/%02u/%02u %02u:%02u:%02u\n", Date >> 16, (Date >> 8) & 0xFF,
          Date & 0xFF, Time >> 16, (Time >> 8) & 0xFF, Time & 0xFF));
  return EFI_SUCCESS;
}

STATIC EFI_STATUS EFIAPI
LogEndOfPei (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  ZUB_LOG_HOB_DATA  Data;

  DEBUG ((DEBUG_INFO, "ZubLogEndOfPEI proc\n"));
  Data.Base   = PcdGet32 (PcdZubLogBufferBase);
  Data.Length = PcdGet32 (PcdZubLogBufferSize);
  Data.Date   = PcdGet32 (PcdZubLogDate);
  Data.Time   = PcdGet32 (PcdZubLogTime);
  if (BuildGuidDataHob (&gZubLogHobGuid, &Data, sizeof (Data)) == NULL) {
    DEBUG ((DEBUG_ERROR, "Failed to build log guid data hob\n"));
    return EFI_OUT_OF_RESOURCES;
  }
  return EFI_SUCCESS;
}

STATIC ZUB_LOG_PPI  mZubLog = { SetLogRange };

STATIC EFI_PEI_PPI_DESCRIPTOR  mZubLogDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubLogPpiGuid,
  &mZubLog
};

STATIC EFI_PEI_NOTIFY_DESCRIPTOR  mEndOfPeiNotify = {
  EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gEfiEndOfPeiSignalPpiGuid,
  LogEndOfPei
};

extern "C" EFI_STATUS EFIAPI
DebugCapturePeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS  Status;

  DEBUG ((DEBUG_INFO, "DebugCapturePeiEntry --- start\n"));
  ReadLogOptions ();
  InitTimeStamp ();
  Status = PeiServicesNotifyPpi (&mEndOfPeiNotify);
  DEBUG ((DEBUG_INFO, "PeiServicesNotifyPpi %r \n", Status));
  Status = PeiServicesInstallPpi (&mZubLogDescriptor);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to install log ppi %r\n", Status));
    return Status;
  }
  return EFI_SUCCESS;
}
