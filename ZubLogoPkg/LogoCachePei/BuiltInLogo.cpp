/** @file
  The built-in logos: raw sections of firmware files named by the logo table, found in
  the first firmware volume that holds them.
**/
#include "LogoCache.h"

#include <Library/DebugLib.h>
#include <Library/PeiServicesLib.h>

typedef struct {
  EFI_GUID  File[LOGO_SLOT_COUNT];    // early, second and third logo file; the early one is used
} BUILT_IN_LOGO_ENTRY;

STATIC CONST BUILT_IN_LOGO_ENTRY  mBuiltInLogos[LOGO_BUILT_IN_OEM_COUNT] = {
  { { { 0xB976FAA2, 0x6181, 0x41FA, { 0xA9, 0xBC, 0x5A, 0xD5, 0x4B, 0x8E, 0x02, 0xF5 } },
      { 0x282FE8C0, 0xFD6E, 0x4D75, { 0xB6, 0x47, 0x33, 0x1F, 0x40, 0x16, 0xAB, 0x7B } },
      { 0xCCD79841, 0x34CA, 0x4257, { 0x82, 0x65, 0x96, 0xD2, 0x1C, 0xF1, 0x04, 0x38 } } } },
  { { { 0xB976FAA2, 0x6181, 0x41FA, { 0xA9, 0xBC, 0x5A, 0xD5, 0x4B, 0x8E, 0x02, 0xF5 } },
      { 0x282FE8C0, 0xFD6E, 0x4D75, { 0xB6, 0x47, 0x33, 0x1F, 0x40, 0x16, 0xAB, 0x7B } },
      { 0xCCD79841, 0x34CA, 0x4257, { 0x82, 0x65, 0x96, 0xD2, 0x1C, 0xF1, 0x04, 0x38 } } } },
  { { { 0x09104A1D, 0x7160, 0x418B, { 0x85, 0xD8, 0xF5, 0xBC, 0xAB, 0x2F, 0x0C, 0x72 } },
      { 0x9A4671BB, 0xC6D2, 0x4BE2, { 0x83, 0x2C, 0xE3, 0xE6, 0x4E, 0x9B, 0x9C, 0xC0 } },
      { 0xEF6E9DBF, 0x1255, 0x435C, { 0xB5, 0x92, 0x65, 0xFE, 0x78, 0x24, 0x76, 0x2E } } } }
};

#define FFS_HEADER_SIZE           24
#define FFS_HEADER2_SIZE          32
#define SECTION_HEADER_SIZE       4
#define SECTION_HEADER2_SIZE      8
#define SECTION_SIZE_EXTENDED     0xFFFFFF

STATIC
UINT32
Size24 (
  IN CONST UINT8  *Size
  )
{
  return Size[0] | ((UINT32)Size[1] << 8) | ((UINT32)Size[2] << 16);
}

//
// The first raw section of the file: its data and data size. Every section is read only
// inside the file's own size.
//
STATIC
EFI_STATUS
FindRawSection (
  IN  CONST UINT8  *File,
  OUT CONST VOID   **Data,
  OUT UINTN        *DataSize
  )
{
  CONST EFI_FFS_FILE_HEADER2        *FileHeader;
  CONST EFI_COMMON_SECTION_HEADER2  *Section;
  UINT64                            FileSize;
  UINT64                            Offset;
  UINT64                            SectionSize;
  UINT64                            HeaderSize;

  FileHeader = (CONST EFI_FFS_FILE_HEADER2 *)File;
  if ((FileHeader->Attributes & FFS_ATTRIB_LARGE_FILE) != 0) {
    FileSize = FileHeader->ExtendedSize;
    Offset   = FFS_HEADER2_SIZE;
  } else {
    FileSize = Size24 (FileHeader->Size);
    Offset   = FFS_HEADER_SIZE;
  }

  while (Offset + SECTION_HEADER_SIZE <= FileSize) {
    Section     = (CONST EFI_COMMON_SECTION_HEADER2 *)(File + Offset);
    SectionSize = Size24 (Section->Size);
    HeaderSize  = SECTION_HEADER_SIZE;
    if (SectionSize == SECTION_SIZE_EXTENDED) {
      if (Offset + SECTION_HEADER2_SIZE > FileSize) {
        break;
      }

      SectionSize = Section->ExtendedSize;
      HeaderSize  = SECTION_HEADER2_SIZE;
    }

    if ((SectionSize < HeaderSize) || (SectionSize > FileSize - Offset)) {
      break;
    }

    if (Section->Type == EFI_SECTION_RAW) {
      *Data     = File + Offset + HeaderSize;
      *DataSize = (UINTN)(SectionSize - HeaderSize);
      DEBUG ((DEBUG_ERROR, "RAW data size = %X\n", (UINT32)*DataSize));
      return EFI_SUCCESS;
    }

    Offset = (Offset + SectionSize + 3) & ~(UINT64)3;
  }

  return EFI_NOT_FOUND;
}

EFI_STATUS
FindBuiltInLogo (
  IN  UINT32       Oem,
  OUT CONST VOID   **Image,
  OUT UINTN        *Size
  )
{
  EFI_STATUS           Status;
  UINTN                Instance;
  EFI_PEI_FV_HANDLE    Volume;
  EFI_PEI_FILE_HANDLE  File;

  if (Oem >= LOGO_BUILT_IN_OEM_COUNT) {
    return EFI_INVALID_PARAMETER;
  }

  Status = EFI_NOT_FOUND;
  for (Instance = 0; !EFI_ERROR (PeiServicesFfsFindNextVolume (Instance, &Volume)); Instance++) {
    if (EFI_ERROR (PeiServicesFfsFindFileByName (&mBuiltInLogos[Oem].File[0], Volume, &File))) {
      continue;
    }

    Status = FindRawSection ((CONST UINT8 *)File, Image, Size);
    if (!EFI_ERROR (Status)) {
      return EFI_SUCCESS;
    }
  }

  return Status;
}
