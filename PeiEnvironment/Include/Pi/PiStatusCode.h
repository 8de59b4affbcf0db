/** @file
  Status code types, values and the status-code data block.
**/
#ifndef PI_STATUS_CODE_H_
#define PI_STATUS_CODE_H_

#include <Uefi/UefiBaseType.h>

typedef UINT32 EFI_STATUS_CODE_TYPE;
typedef UINT32 EFI_STATUS_CODE_VALUE;

#define EFI_STATUS_CODE_TYPE_MASK   0x000000FFu
#define EFI_PROGRESS_CODE           0x00000001u
#define EFI_ERROR_CODE              0x00000002u
#define EFI_DEBUG_CODE              0x00000003u
#define EFI_ERROR_MINOR             0x40000000u
#define EFI_ERROR_MAJOR             0x80000000u
#define EFI_ERROR_UNRECOVERED       0x90000000u

#define EFI_SOFTWARE_PEI_CORE       0x03020000u
#define EFI_SW_PC_LOAD              0x00000001u
#define EFI_COMPUTING_UNIT_MEMORY   0x00051000u
#define EFI_CU_MEMORY_PC_TEST       0x00000006u

#pragma pack(push, 1)
typedef struct {
  UINT16    HeaderSize;
  UINT16    Size;
  EFI_GUID  Type;
} EFI_STATUS_CODE_DATA;
#pragma pack(pop)

STATIC_ASSERT (sizeof (EFI_STATUS_CODE_DATA) == 20, "status code payload starts at byte 20");

#endif
