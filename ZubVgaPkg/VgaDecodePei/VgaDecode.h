/** @file
  VgaDecodePei: brings up the AST2500 behind root port 0:1C.0 and its PCI bridge.

  Fixed resources: video memory (BAR0) at 0x90000000, the register BAR (BAR1) right
  after video memory, and one memory window 0x90000000-0x941FFFFF on every bridge of
  the path, which also routes the legacy VGA ranges.
**/
#ifndef VGA_DECODE_H_
#define VGA_DECODE_H_

#include <PiPei.h>

#define VGA_MEMORY_BASE        0x90000000u
#define VGA_LOG_WINDOW_FROM_END  0x400000u   // the debug-log window: 4 MB below the end
#define VGA_LOG_WINDOW_LENGTH    0x100000u

/** Sets the root bus 1 decode bit of the root complex on Ice Lake-SP processors. **/
EFI_STATUS
EnableRootBusDecode (
  VOID
  );

/**
  Walks the fixed PCI path to the video device, numbering and opening the bridges on
  the way, and sizes and places the device's BARs.

  @param[out] MemorySize  Video memory size in bytes.
  @param[out] PciAddress  bus << 20 | device << 15 | function << 12 of the device.

  @retval EFI_NOT_FOUND  No AST2500 on the path.
  @retval other          A configuration access failed.
**/
EFI_STATUS
SetUpVideoPath (
  OUT UINT32  *MemorySize,
  OUT UINT32  *PciAddress
  );

/** Extended CRTC registers to their power-on defaults for the early console. **/
VOID
Ast2500ExtendedDefaults (
  VOID
  );

/** Programs 800x600, 32 bits, 60 Hz; clears the screen and switches it on. **/
VOID
Ast2500SetMode (
  VOID
  );

#endif
