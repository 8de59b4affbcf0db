/** @file
  Port I/O and memory-mapped I/O, implemented by the machine library.

  PhysicalAddressToPointer is this board's counterpart of (VOID *)(UINTN)Address: it
  gives a pointer to Length bytes of physical memory when the whole range decodes to
  memory (video memory behind its BAR, the flash below 4 GB), or NULL when it does not.
**/
#ifndef IO_LIB_H_
#define IO_LIB_H_

#include <Uefi/UefiBaseType.h>

extern "C" {
UINT8   EFIAPI IoRead8 (IN UINTN Port);
UINT16  EFIAPI IoRead16 (IN UINTN Port);
UINT32  EFIAPI IoRead32 (IN UINTN Port);
UINT8   EFIAPI IoWrite8 (IN UINTN Port, IN UINT8 Value);
UINT16  EFIAPI IoWrite16 (IN UINTN Port, IN UINT16 Value);
UINT32  EFIAPI IoWrite32 (IN UINTN Port, IN UINT32 Value);

UINT8   EFIAPI MmioRead8 (IN UINTN Address);
UINT16  EFIAPI MmioRead16 (IN UINTN Address);
UINT32  EFIAPI MmioRead32 (IN UINTN Address);
UINT64  EFIAPI MmioRead64 (IN UINTN Address);
UINT8   EFIAPI MmioWrite8 (IN UINTN Address, IN UINT8 Value);
UINT16  EFIAPI MmioWrite16 (IN UINTN Address, IN UINT16 Value);
UINT32  EFIAPI MmioWrite32 (IN UINTN Address, IN UINT32 Value);
UINT64  EFIAPI MmioWrite64 (IN UINTN Address, IN UINT64 Value);

VOID *  EFIAPI PhysicalAddressToPointer (IN EFI_PHYSICAL_ADDRESS Address, IN UINTN Length);
}

UINT8   EFIAPI IoAndThenOr8 (IN UINTN Port, IN UINT8 AndData, IN UINT8 OrData);
UINT32  EFIAPI MmioAnd32 (IN UINTN Address, IN UINT32 AndData);
UINT32  EFIAPI MmioOr32 (IN UINTN Address, IN UINT32 OrData);
UINT8   EFIAPI MmioAnd8 (IN UINTN Address, IN UINT8 AndData);
UINT8   EFIAPI MmioOr8 (IN UINTN Address, IN UINT8 OrData);

#endif
