/** @file
  Entry of VgaDecodePei: root bus decode, the path to the AST2500, the console PCDs,
  the display mode, and the debug-log window in video memory when the log capture is
  present. The module installs nothing and keeps no state.
**/
#include "VgaDecode.h"

#include <Library/DebugLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/ZubLog.h>

extern "C" EFI_STATUS EFIAPI
VgaDecodePeiEntryPoint (
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  )
{
  EFI_STATUS   Status;
  UINT32       MemorySize;
  UINT32       PciAddress;
  ZUB_LOG_PPI  *Log;

  DEBUG ((DEBUG_INFO, "VgaDecodePeiEntryPoint ---start\n"));

  EnableRootBusDecode ();

  Status = SetUpVideoPath (&MemorySize, &PciAddress);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to init vga device %r\n", Status));
    return Status;
  }

  PcdSet32S (PcdZubVgaMemoryBase, VGA_MEMORY_BASE);
  PcdSet32S (PcdZubVgaMemorySize, MemorySize);
  PcdSet32S (PcdZubVgaPciAddress, PciAddress);
  PcdSet32S (PcdZubVgaMmioBase, VGA_MEMORY_BASE + MemorySize);

  DEBUG ((DEBUG_INFO, "VgaMmioBase: 0x%X\n", VGA_MEMORY_BASE));
  DEBUG ((DEBUG_INFO, "VgaMmioLimit: 0x%X (%u MB)\n", MemorySize, MemorySize >> 20));
  DEBUG ((DEBUG_INFO, "VgaPciAddress: 0x%X\n", PciAddress));

  DEBUG ((DEBUG_INFO, "Early VGA Device Start ...\n"));
  Ast2500ExtendedDefaults ();
  Ast2500SetMode ();
  DEBUG ((DEBUG_INFO, "Early VGA Device Finished ...\n"));

  Status = PeiServicesLocatePpi (&gZubLogPpiGuid, 0, NULL, (VOID **)&Log);
  if (!EFI_ERROR (Status)) {
    Log->SetLogRange (Log, VGA_MEMORY_BASE + MemorySize - VGA_LOG_WINDOW_FROM_END, VGA_LOG_WINDOW_LENGTH);
  }

  return EFI_SUCCESS;
}
