/** @file
  HOB layouts: the generic header, the hand-off info table and GUID-extension HOBs.
**/
#ifndef PI_HOB_H_
#define PI_HOB_H_

#include <Uefi/UefiBaseType.h>

#define EFI_HOB_TYPE_HANDOFF              0x0001
#define EFI_HOB_TYPE_MEMORY_ALLOCATION    0x0002
#define EFI_HOB_TYPE_RESOURCE_DESCRIPTOR  0x0003
#define EFI_HOB_TYPE_GUID_EXTENSION       0x0004
#define EFI_HOB_TYPE_FV                   0x0005
#define EFI_HOB_TYPE_UNUSED               0xFFFE
#define EFI_HOB_TYPE_END_OF_HOB_LIST      0xFFFF

#pragma pack(push, 1)
typedef struct {
  UINT16  HobType;
  UINT16  HobLength;
  UINT32  Reserved;
} EFI_HOB_GENERIC_HEADER;

typedef struct {
  EFI_HOB_GENERIC_HEADER  Header;
  UINT32                  Version;
  UINT32                  BootMode;
  EFI_PHYSICAL_ADDRESS    EfiMemoryTop;
  EFI_PHYSICAL_ADDRESS    EfiMemoryBottom;
  EFI_PHYSICAL_ADDRESS    EfiFreeMemoryTop;
  EFI_PHYSICAL_ADDRESS    EfiFreeMemoryBottom;
  EFI_PHYSICAL_ADDRESS    EfiEndOfHobList;
} EFI_HOB_HANDOFF_INFO_TABLE;

typedef struct {
  EFI_HOB_GENERIC_HEADER  Header;
  EFI_GUID                Name;
  // GUID-specific data follows.
} EFI_HOB_GUID_TYPE;
#pragma pack(pop)

STATIC_ASSERT (sizeof (EFI_HOB_GENERIC_HEADER) == 8, "HOB header is 8 bytes");
STATIC_ASSERT (sizeof (EFI_HOB_GUID_TYPE) == 24, "GUID HOB header is 24 bytes");

typedef union {
  EFI_HOB_GENERIC_HEADER      *Header;
  EFI_HOB_HANDOFF_INFO_TABLE  *HandoffInformationTable;
  EFI_HOB_GUID_TYPE           *Guid;
  UINT8                       *Raw;
} EFI_PEI_HOB_POINTERS;

#endif
