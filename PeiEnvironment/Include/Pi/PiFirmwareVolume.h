/** @file
  Firmware volume, FFS file and section headers.
**/
#ifndef PI_FIRMWARE_VOLUME_H_
#define PI_FIRMWARE_VOLUME_H_

#include <Uefi/UefiBaseType.h>

typedef VOID   *EFI_PEI_FV_HANDLE;
typedef VOID   *EFI_PEI_FILE_HANDLE;
typedef UINT8  EFI_FV_FILETYPE;
typedef UINT8  EFI_SECTION_TYPE;

#define EFI_FV_FILETYPE_ALL       0x00
#define EFI_FV_FILETYPE_RAW       0x01
#define EFI_FV_FILETYPE_FREEFORM  0x02
#define EFI_FV_FILETYPE_PEIM      0x06
#define EFI_FV_FILETYPE_FFS_PAD   0xF0

#define EFI_SECTION_ALL           0x00
#define EFI_SECTION_PE32          0x10
#define EFI_SECTION_USER_INTERFACE 0x15
#define EFI_SECTION_RAW           0x19

#define EFI_FVH_SIGNATURE         SIGNATURE_32 ('_', 'F', 'V', 'H')
#define FFS_ATTRIB_LARGE_FILE     0x01
#define EFI_FILE_DATA_VALID       0x04

#pragma pack(push, 1)
typedef struct {
  UINT32  NumBlocks;
  UINT32  Length;
} EFI_FV_BLOCK_MAP_ENTRY;

typedef struct {
  UINT8                   ZeroVector[16];
  EFI_GUID                FileSystemGuid;
  UINT64                  FvLength;
  UINT32                  Signature;
  UINT32                  Attributes;
  UINT16                  HeaderLength;
  UINT16                  Checksum;
  UINT16                  ExtHeaderOffset;
  UINT8                   Reserved[1];
  UINT8                   Revision;
  EFI_FV_BLOCK_MAP_ENTRY  BlockMap[1];
} EFI_FIRMWARE_VOLUME_HEADER;

typedef struct {
  EFI_GUID         Name;
  UINT16           IntegrityCheck;
  EFI_FV_FILETYPE  Type;
  UINT8            Attributes;
  UINT8            Size[3];
  UINT8            State;
} EFI_FFS_FILE_HEADER;

typedef struct {
  EFI_GUID         Name;
  UINT16           IntegrityCheck;
  EFI_FV_FILETYPE  Type;
  UINT8            Attributes;
  UINT8            Size[3];
  UINT8            State;
  UINT64           ExtendedSize;
} EFI_FFS_FILE_HEADER2;

typedef struct {
  UINT8             Size[3];
  EFI_SECTION_TYPE  Type;
} EFI_COMMON_SECTION_HEADER;

typedef struct {
  UINT8             Size[3];   // 0xFFFFFF: the extended size follows
  EFI_SECTION_TYPE  Type;
  UINT32            ExtendedSize;
} EFI_COMMON_SECTION_HEADER2;
#pragma pack(pop)

STATIC_ASSERT (sizeof (EFI_FIRMWARE_VOLUME_HEADER) == 64, "FV header with one block map entry");
STATIC_ASSERT (sizeof (EFI_FFS_FILE_HEADER) == 24, "FFS file header");
STATIC_ASSERT (sizeof (EFI_FFS_FILE_HEADER2) == 32, "FFS large file header");
STATIC_ASSERT (sizeof (EFI_COMMON_SECTION_HEADER2) == 8, "extended section header");

#endif
