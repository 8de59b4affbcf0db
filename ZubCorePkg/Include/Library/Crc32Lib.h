/** @file
  IEEE 802.3 CRC-32 (reflected polynomial 0xEDB88320, initial value and final XOR
  0xFFFFFFFF). A NULL buffer or a zero length gives 0.
**/
#ifndef ZUB_CRC32_LIB_H_
#define ZUB_CRC32_LIB_H_

#include <Uefi/UefiBaseType.h>

UINT32 EFIAPI CalculateCrc32 (IN CONST VOID *Buffer, IN UINTN Length);

#endif
