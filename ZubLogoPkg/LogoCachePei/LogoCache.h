/** @file
  LogoCachePei: the flash logo area, its header, and the module's internal routines.

  The area is 512 KB at BIOS-region offset 0x940000, visible at 0xFF940000. Its first
  4 KB block holds LOGO_FLASH_HEADER (the rest of the block is zero); the early, post and
  quiet logos follow from area offset 0x1000, each on a 4 KB boundary.
**/
#ifndef LOGO_CACHE_H_
#define LOGO_CACHE_H_

#include <PiPei.h>
#include <Guid/ZubLogoGuids.h>
#include <Guid/StatusCodeDataTypeId.h>

#define LOGO_AREA_FLASH_OFFSET   0x940000u
#define LOGO_AREA_ADDRESS        0xFF940000u
#define LOGO_AREA_SIZE           0x80000u
#define LOGO_HEADER_BLOCK_SIZE   0x1000u
#define LOGO_FIRST_LOGO_OFFSET   0x1000u
#define LOGO_AREA_WRITE_LIMIT    0x9BF000u     // area offset 0x7F000: the logos end before it
#define LOGO_SLOT_COUNT          3
#define LOGO_CUSTOMER_OEM_FIRST  3
#define LOGO_BUILT_IN_OEM_COUNT  3
#define LOGO_WARNING_TOO_LARGE   0x1004u

#define BOOT_CONFIGURATION_VARIABLE_NAME  u"ZubBootConfiguration"
#define BOOT_CONFIGURATION_SIZE           6

#define BMP_FILE_HEADER_BYTES    54            // file header and BITMAPINFOHEADER
#define BMP_FILE_SIZE_OFFSET     2

#pragma pack(push, 1)
typedef struct {
  UINT32  Offset;      // from the start of the area
  UINT32  Size;        // the file size, not rounded
  UINT32  Crc32;
} LOGO_FLASH_ENTRY;

typedef struct {
  UINT32            Crc32;       // of bytes 0x04..0xFFF of the header block
  EFI_GUID          MagicGuid;
  UINT32            OemId;
  LOGO_FLASH_ENTRY  Logo[LOGO_SLOT_COUNT];   // early, post, quiet
} LOGO_FLASH_HEADER;
#pragma pack(pop)

static_assert (sizeof (LOGO_FLASH_HEADER) == 0x3C, "LOGO_FLASH_HEADER ends at 0x3C");

extern CONST CHAR8  *CONST  mLogoFileNames[LOGO_SLOT_COUNT];

//
// The area as mapped, or NULL when nothing decodes there.
//
CONST UINT8 *
LogoAreaMapping (
  VOID
  );

//
// Runs the validation of the area; TRUE when valid. Prints the first failure.
//
BOOLEAN
LogoAreaIsValid (
  IN CONST UINT8  *Area OPTIONAL
  );

//
// TRUE when the BMP header at Image declares a file that lies inside Available bytes.
//
BOOLEAN
LogoImageFits (
  IN CONST VOID  *Image,
  IN UINTN       Available
  );

//
// The early logo of built-in logo table entry Oem: the raw section's data and size.
//
EFI_STATUS
FindBuiltInLogo (
  IN  UINT32       Oem,
  OUT CONST VOID   **Image,
  OUT UINTN        *Size
  );

EFI_STATUS
EFIAPI
LogoDisplayNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  );

EFI_STATUS
EFIAPI
SpiFlashPpiNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  );

#endif
