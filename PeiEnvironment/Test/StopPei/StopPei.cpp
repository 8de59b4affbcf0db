/** @file
  Test module: ends the boot from inside its entry point.
**/
#include <PiPei.h>
#include <Library/BaseLib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>

extern "C" EFI_STATUS EFIAPI
StopPeiEntryPoint (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  UINT8  Request;

  IoWrite8 (0x72, 0x7F);
  Request = IoRead8 (0x73);
  DEBUG ((DEBUG_INFO, "StopPei: request %u\n", Request));
  switch (Request) {
    case 1: IoWrite8 (0xCF9, 0x06); break;
    case 2: IoWrite8 (0xCF9, 0x04); break;
    case 3: CpuDeadLoop ();
    default: break;
  }
  DEBUG ((DEBUG_INFO, "StopPei: still running\n"));
  return EFI_SUCCESS;
}
