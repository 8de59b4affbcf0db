/** @file
  Test module: registers a notification on Ping; the callback calls Ping through the
  PPI it was handed and installs Pong with the answer and the entry count.
**/
#include <PiPei.h>
#include <Ppi/ZubTestPing.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

STATIC ZUB_TEST_PONG_PPI  mPong;   // zero at every load of the image

STATIC EFI_PEI_PPI_DESCRIPTOR  mPongDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubTestPongPpiGuid,
  &mPong
};

STATIC EFI_STATUS EFIAPI
OnPing (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  ZUB_TEST_PING_PPI  *Ping = (ZUB_TEST_PING_PPI *)Ppi;
  VOID               *Located;

  if (EFI_ERROR (PeiServicesLocatePpi (&gZubTestPingPpiGuid, 0, NULL, &Located)) || Located != Ppi) {
    return EFI_NOT_FOUND;
  }
  mPong.Answer = Ping->Ping (21);
  DEBUG ((DEBUG_INFO, "PongPei: ping answered %u\n", mPong.Answer));
  return PeiServicesInstallPpi (&mPongDescriptor);
}

STATIC EFI_PEI_NOTIFY_DESCRIPTOR  mPingNotify = {
  EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubTestPingPpiGuid,
  OnPing
};

extern "C" EFI_STATUS EFIAPI
PongPeiEntryPoint (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  mPong.EntryCount++;
  return PeiServicesNotifyPpi (&mPingNotify);
}
