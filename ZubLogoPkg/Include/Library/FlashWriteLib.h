/** @file
  Erase and rewrite of BIOS-region blocks of the SPI flash through the PCH SPI flash PPI.

  Offsets are offsets inside the BIOS region. Lengths of writes are whole 4 KB blocks.
  Around each operation the BIOS write-protect bit (bit 5 of the SPI controller's BIOS
  control byte, 0:1F.5 register DCh) is released and then restored as it was found.
  The library keeps no state and must not be entered again from a PPI call it makes.
**/
#ifndef ZUB_FLASH_WRITE_LIB_H_
#define ZUB_FLASH_WRITE_LIB_H_

#include <Uefi/UefiBaseType.h>

#define ZUB_FLASH_BLOCK_SIZE  0x1000

/**
  Erases the blocks of [Offset, Offset + Length) and, when Data is given, programs Length
  bytes of Data there.

  @retval EFI_INVALID_PARAMETER  Length is not a multiple of 4 KB, or the range leaves the
                                 BIOS region.
  @return                        The status of the PPI's locate, region query, erase or write.
**/
EFI_STATUS
EFIAPI
ZubFlashWriteData (
  IN UINT32  Offset,
  IN UINT32  Length,
  IN VOID    *Data OPTIONAL
  );

/**
  Erases [Offset, Offset + Length) without writing.
**/
EFI_STATUS
EFIAPI
ZubFlashErase (
  IN UINT32  Offset,
  IN UINT32  Length
  );

#endif
