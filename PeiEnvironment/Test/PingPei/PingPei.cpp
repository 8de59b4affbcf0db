/** @file
  Test module: installs the Ping PPI, whose function doubles its argument.
**/
#include <PiPei.h>
#include <Ppi/ZubTestPing.h>
#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

STATIC UINT32 EFIAPI Ping (IN UINT32 Value) { return Value * 2; }

STATIC ZUB_TEST_PING_PPI  mPing = { Ping };

STATIC EFI_PEI_PPI_DESCRIPTOR  mPingDescriptor = {
  EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
  &gZubTestPingPpiGuid,
  &mPing
};

extern "C" EFI_STATUS EFIAPI
PingPeiEntryPoint (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  DEBUG ((DEBUG_INFO, "PingPeiEntryPoint ---start\n"));
  return PeiServicesInstallPpi (&mPingDescriptor);
}
