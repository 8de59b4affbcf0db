/** @file
  PCD access over the PCD service PPI, by the token numbers of ZubPcdTokens.h.
  PcdGet8 (PcdZubVgaTextRow) reads token PcdZubVgaTextRow_TOKEN.
**/
#ifndef PCD_LIB_H_
#define PCD_LIB_H_

#include <Uefi/UefiBaseType.h>
#include <ZubPcdTokens.h>

UINT8      EFIAPI LibPcdGet8 (IN UINTN TokenNumber);
UINT16     EFIAPI LibPcdGet16 (IN UINTN TokenNumber);
UINT32     EFIAPI LibPcdGet32 (IN UINTN TokenNumber);
UINT64     EFIAPI LibPcdGet64 (IN UINTN TokenNumber);
VOID *     EFIAPI LibPcdGetPtr (IN UINTN TokenNumber);
BOOLEAN    EFIAPI LibPcdGetBool (IN UINTN TokenNumber);
UINTN      EFIAPI LibPcdGetSize (IN UINTN TokenNumber);
EFI_STATUS EFIAPI LibPcdSet8S (IN UINTN TokenNumber, IN UINT8 Value);
EFI_STATUS EFIAPI LibPcdSet16S (IN UINTN TokenNumber, IN UINT16 Value);
EFI_STATUS EFIAPI LibPcdSet32S (IN UINTN TokenNumber, IN UINT32 Value);
EFI_STATUS EFIAPI LibPcdSet64S (IN UINTN TokenNumber, IN UINT64 Value);
EFI_STATUS EFIAPI LibPcdSetPtrS (IN UINTN TokenNumber, IN OUT UINTN *SizeOfBuffer, IN CONST VOID *Buffer);
EFI_STATUS EFIAPI LibPcdSetBoolS (IN UINTN TokenNumber, IN BOOLEAN Value);

#define PcdToken(TokenName)           (TokenName##_TOKEN)
#define PcdGet8(TokenName)            LibPcdGet8 (TokenName##_TOKEN)
#define PcdGet16(TokenName)           LibPcdGet16 (TokenName##_TOKEN)
#define PcdGet32(TokenName)           LibPcdGet32 (TokenName##_TOKEN)
#define PcdGet64(TokenName)           LibPcdGet64 (TokenName##_TOKEN)
#define PcdGetPtr(TokenName)          LibPcdGetPtr (TokenName##_TOKEN)
#define PcdGetBool(TokenName)         LibPcdGetBool (TokenName##_TOKEN)
#define PcdGetSize(TokenName)         LibPcdGetSize (TokenName##_TOKEN)
#define PcdSet8S(TokenName, Value)    LibPcdSet8S (TokenName##_TOKEN, (Value))
#define PcdSet16S(TokenName, Value)   LibPcdSet16S (TokenName##_TOKEN, (Value))
#define PcdSet32S(TokenName, Value)   LibPcdSet32S (TokenName##_TOKEN, (Value))
#define PcdSet64S(TokenName, Value)   LibPcdSet64S (TokenName##_TOKEN, (Value))
#define PcdSetPtrS(TokenName, SizeOfBuffer, Buffer) LibPcdSetPtrS (TokenName##_TOKEN, (SizeOfBuffer), (Buffer))
#define PcdSetBoolS(TokenName, Value) LibPcdSetBoolS (TokenName##_TOKEN, (Value))

#endif
