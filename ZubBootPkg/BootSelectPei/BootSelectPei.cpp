/** @file
  BootSelectPei: the boot mode of this boot (0 legacy, 1 UEFI) from NVRAM, overridden by
  the recovery variable, overridden by the BMC's OEM configuration when its flag allows
  it and the IPMI boot flags are valid. Optionally tells the BMC (eVORT) that the boot
  got here.
**/
#include <PiPei.h>
#include <Guid/BootModeVariables.h>
#include <Ppi/IpmiTransportPpi.h>
#include <Ppi/ReadOnlyVariable2.h>
#include <Ppi/ZubIpmiTransport.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Library/TimerLib.h>

#include "IpmiBootFlags.h"

#define OEM_GET_BOOT_MODE_CMD    0x0B
#define OEM_BOOT_MODE_ANSWER     7
#define OEM_FLAG_BYTE            3
#define OEM_BOOT_MODE_BYTE       4
#define OEM_BOOT_MODE_LEGACY     1
#define OEM_BOOT_MODE_UEFI       2
#define OEM_EVORT_CMD            0x09
#define EVORT_RETRIES            25
#define EVORT_RETRY_WAIT_US      200000

STATIC EFI_STATUS
GetIpmiBootMode (
  IN OUT UINT8  *BootMode
  )
{
  PEI_IPMI_TRANSPORT_PPI  *Transport;
  ZUB_IPMI_TRANSPORT_PPI  *Relay;
  UINT8                   Request[4] = { 0x5B, 0x4E, 0x00, 0x2E };
  UINT8                   Oem[OEM_BOOT_MODE_ANSWER];
  UINT8                   OemSize = sizeof (Oem);
  UINT8                   BootFlags[BOOT_OPTIONS_FLAGS_SIZE];
  UINTN                   FlagsSize = sizeof (BootFlags);
  UINT8                   Data1;
  EFI_STATUS              Status;

  Status = PeiServicesLocatePpi (&gEfiPeiIpmiTransportPpiGuid, 0, NULL, (VOID **)&Transport);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_INFO, "Locate gEfiPeiIpmiTransportPpiGuid %r\n", Status));
    return Status;
  }
  Status = PeiServicesLocatePpi (&gZubIpmiTransportPpiGuid, 0, NULL, (VOID **)&Relay);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_INFO, "Locate gZubIpmiTransportPpiGuid %r\n", Status));
    return Status;
  }
  ZeroMem (Oem, sizeof (Oem));
  Status = Relay->IpmiSendCommand (Relay, ZUB_IPMI_NETFN_OEM, 0, OEM_GET_BOOT_MODE_CMD, Request, sizeof (Request),
                                   Oem, &OemSize);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_INFO, "Get boot mode request %r\n", Status));
    return Status;
  }
  ZeroMem (BootFlags, sizeof (BootFlags));
  Status = ReadIpmiBootFlags (Transport, BootFlags);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  Data1 = BootFlags[BOOT_OPTIONS_DATA1];
  DEBUG ((DEBUG_INFO,
          "Oem Config:FlagByte %x, BootMode %x(1 legacy, 2 uefi); Ipmi Config: BootFlagValid %x, BiosBootType %x(0 legacy, 1 uefi)\n",
          Oem[OEM_FLAG_BYTE], Oem[OEM_BOOT_MODE_BYTE], (Data1 >> 7) & 1, (Data1 >> 5) & 1));
  if (((Oem[OEM_FLAG_BYTE] & BIT0) != 0) && ((Data1 & BOOT_FLAG_VALID) != 0)) {
    if (Oem[OEM_BOOT_MODE_BYTE] == OEM_BOOT_MODE_LEGACY) {
      *BootMode = 0;
    } else if (Oem[OEM_BOOT_MODE_BYTE] == OEM_BOOT_MODE_UEFI) {
      *BootMode = 1;
    }
    DEBUG ((DEBUG_INFO, "IPMI Current BootMode(2 UEFI, 1 LEGACY) %x\n", Oem[OEM_BOOT_MODE_BYTE]));
  }
  // The stored copy carries the decided mode in place of the BMC's BIOS boot type.
  BootFlags[BOOT_OPTIONS_DATA1] = (UINT8)((Data1 & ~BOOT_FLAG_UEFI) | ((*BootMode & 1) ? BOOT_FLAG_UEFI : 0));
  PcdSetPtrS (PcdZubIpmiBootFlags, &FlagsSize, BootFlags);
  return EFI_SUCCESS;
}

STATIC EFI_STATUS
SendEvortNotification (
  VOID
  )
{
  ZUB_IPMI_TRANSPORT_PPI  *Relay;
  UINT8                   Request[5] = { 0x5B, 0x4E, 0x00, 0x08, 0x00 };
  UINT8                   Answer[4];
  UINT8                   AnswerSize;
  UINTN                   RetryCnt;
  EFI_STATUS              Status;

  Status = PeiServicesLocatePpi (&gZubIpmiTransportPpiGuid, 0, NULL, (VOID **)&Relay);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_INFO, "Locate gZubIpmiTransportPpiGuid %r\n", Status));
    return Status;
  }
  for (RetryCnt = 0; RetryCnt < EVORT_RETRIES; RetryCnt++) {
    ZeroMem (Answer, sizeof (Answer));
    AnswerSize = sizeof (Answer);
    Status     = Relay->IpmiSendOemCommand (Relay, OEM_EVORT_CMD, Request, sizeof (Request), Answer, &AnswerSize);
    DEBUG ((DEBUG_INFO, "Send eVORT Cmd To Qmb RetryCnt = %x, Status = %r\n", RetryCnt, Status));
    if (!EFI_ERROR (Status)) {
      break;
    }
    MicroSecondDelay (EVORT_RETRY_WAIT_US);
  }
  DEBUG ((DEBUG_INFO, "Send eVORT command(eVORTStatus:%u) to BMC: %r\n", 0, Status));
  return Status;
}

extern "C" EFI_STATUS EFIAPI
BootSelectPeiEntry (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_PEI_READ_ONLY_VARIABLE2_PPI  *Variables;
  UINT8                            Priorities[FIXED_BOOT_PRIORITIES_SIZE];
  UINT8                            Recovery;
  UINTN                            Size;
  UINT8                            BootMode;
  EFI_STATUS                       Status;

  Status = PeiServicesLocatePpi (&gEfiPeiReadOnlyVariable2PpiGuid, 0, NULL, (VOID **)&Variables);
  if (EFI_ERROR (Status) || (Variables == NULL)) {
    DEBUG ((DEBUG_INFO, "Locate gEfiPeiReadOnlyVariable2PpiGuid Ppi %r\n", Status));
    return Status;
  }
  ZeroMem (Priorities, sizeof (Priorities));
  Size   = sizeof (Priorities);
  Status = Variables->GetVariable (Variables, FIXED_BOOT_PRIORITIES_VARIABLE_NAME, &gFixedBootPrioritiesVariableGuid,
                                   NULL, &Size, Priorities);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_INFO, "Get setup variable %r\n", Status));
    return Status;
  }
  BootMode = Priorities[FIXED_BOOT_PRIORITIES_BOOT_MODE];
  DEBUG ((DEBUG_INFO, "Nvram BootMode = %x\n", BootMode));

  Recovery = 0;
  Size     = sizeof (Recovery);
  Status   = Variables->GetVariable (Variables, ZUB_RECOVERY_BOOT_MODE_VARIABLE_NAME, &gZubRecoveryBootModeVariableGuid,
                                     NULL, &Size, &Recovery);
  DEBUG ((DEBUG_INFO, "ZubRecoveryBootMode %r, %x\n", Status, Recovery));
  if (!EFI_ERROR (Status)) {
    BootMode = Recovery;
  }

  Status = GetIpmiBootMode (&BootMode);
  DEBUG ((DEBUG_INFO, "GetIpmiBootMode %r, BootMode = %x\n", Status, BootMode));

  PcdSet8S (PcdZubBootMode, BootMode);
  DEBUG ((DEBUG_INFO, "Set PcdZubBootMode to %x\n", BootMode));

  if (PcdGet8 (PcdZubEvortEnable) == 1) {
    SendEvortNotification ();
  }
  return EFI_SUCCESS;
}
