/** @file
  Boot flags from the BMC: wait until no parameter set is in progress, read the boot
  initiator acknowledge byte, and read the boot flags parameter when the acknowledge
  byte lets the BIOS take them.
**/
#include "IpmiBootFlags.h"

#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/TimerLib.h>

#define SET_IN_PROGRESS_POLLS   10
#define SET_IN_PROGRESS_WAIT_US 1000
#define SET_IN_PROGRESS_MASK    0x03

STATIC EFI_STATUS
GetBootOption (
  IN PEI_IPMI_TRANSPORT_PPI  *Transport,
  IN UINT8                   Parameter,
  OUT UINT8                  *Answer,
  IN UINT8                   AnswerSize
  )
{
  UINT8  Request[3] = { Parameter, 0, 0 };
  UINT8  Size       = AnswerSize;

  return Transport->SendIpmiCommand (Transport, IPMI_NETFN_CHASSIS, 0, IPMI_GET_SYSTEM_BOOT_OPTIONS, Request,
                                     sizeof (Request), Answer, &Size);
}

STATIC EFI_STATUS
WaitSetInProgressClear (
  IN PEI_IPMI_TRANSPORT_PPI  *Transport
  )
{
  UINT8       Answer[BOOT_OPTIONS_SET_IN_PROGRESS_SIZE];
  UINTN       Poll;
  EFI_STATUS  Status;

  for (Poll = 0; Poll < SET_IN_PROGRESS_POLLS; Poll++) {
    ZeroMem (Answer, sizeof (Answer));
    Status = GetBootOption (Transport, 0, Answer, sizeof (Answer));
    if (EFI_ERROR (Status)) {
      return Status;
    }
    if ((Answer[3] & SET_IN_PROGRESS_MASK) == 0) {
      return EFI_SUCCESS;
    }
    MicroSecondDelay (SET_IN_PROGRESS_WAIT_US);
  }
  return EFI_TIMEOUT;
}

EFI_STATUS
ReadIpmiBootFlags (
  IN PEI_IPMI_TRANSPORT_PPI  *Transport,
  OUT UINT8                  BootFlags[BOOT_OPTIONS_FLAGS_SIZE]
  )
{
  UINT8       Ack[BOOT_OPTIONS_ACK_SIZE];
  UINTN       AckSize = sizeof (Ack);
  UINT8       Data1;
  UINT8       Data2;
  EFI_STATUS  Status;

  Status = WaitSetInProgressClear (Transport);
  if (EFI_ERROR (Status)) {
    return Status;
  }
  ZeroMem (Ack, sizeof (Ack));
  Status = GetBootOption (Transport, 0, Ack, sizeof (Ack));
  if (EFI_ERROR (Status)) {
    return Status;
  }
  PcdSetPtrS (PcdZubBootInfoAck, &AckSize, Ack);
  DEBUG ((DEBUG_INFO, "BootInitiatorAcknowledgeData %x\n", Ack[4]));

  if ((Ack[4] == 0) || ((Ack[4] & BIT0) != 0)) {
    Status = WaitSetInProgressClear (Transport);
    if (EFI_ERROR (Status)) {
      return Status;
    }
    Status = GetBootOption (Transport, 5, BootFlags, BOOT_OPTIONS_FLAGS_SIZE);
    if (EFI_ERROR (Status)) {
      return Status;
    }
    Data1 = BootFlags[BOOT_OPTIONS_DATA1];
    Data2 = BootFlags[BOOT_OPTIONS_DATA2];
    if (((Data1 & BOOT_FLAG_VALID) != 0) && ((Data1 & BOOT_FLAG_PERSISTENT) == 0) &&
        (BOOT_DEVICE_SELECTOR (Data2) == BOOT_DEVICE_BIOS_SETUP)) {
      PcdSet8S (PcdZubBootToSetup, 1);
    }
  }
  Data1 = BootFlags[BOOT_OPTIONS_DATA1];
  Data2 = BootFlags[BOOT_OPTIONS_DATA2];
  DEBUG ((DEBUG_INFO, "BootFlags: BootFlagValid %x, BiosBootType %x, Persistent %x, BootDeviceSelector %x\n",
          (Data1 >> 7) & 1, (Data1 >> 5) & 1, (Data1 >> 6) & 1, BOOT_DEVICE_SELECTOR (Data2)));
  return EFI_SUCCESS;
}
