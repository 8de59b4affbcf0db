/** @file
  Validation of the flash logo area: header CRC, magic GUID, 4 KB alignment, the logo
  ranges inside the area, and each logo's CRC. The first failure decides.
**/
#include "LogoCache.h"

#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/Crc32Lib.h>
#include <Library/DebugLib.h>
#include <Library/IoLib.h>

CONST UINT8 *
LogoAreaMapping (
  VOID
  )
{
  return (CONST UINT8 *)PhysicalAddressToPointer (LOGO_AREA_ADDRESS, LOGO_AREA_SIZE);
}

BOOLEAN
LogoAreaIsValid (
  IN CONST UINT8  *Area OPTIONAL
  )
{
  CONST LOGO_FLASH_HEADER  *Header;
  CONST LOGO_FLASH_ENTRY   *Logo;
  UINT32                   Crc;
  UINTN                    Index;
  STATIC CONST CHAR8       *CONST  CrcMessages[LOGO_SLOT_COUNT] = {
    "Early logo crc32 error: calc:0x%x  head:0x%x\n",
    "Post logo crc32 error: calc:0x%x  head:0x%x\n",
    "Quiet logo crc32 error: calc:0x%x  head:0x%x\n"
  };

  if (Area == NULL) {
    DEBUG ((DEBUG_ERROR, "Logo flash area not mapped\n"));
    return FALSE;
  }

  Header = (CONST LOGO_FLASH_HEADER *)Area;
  Logo   = Header->Logo;
  Crc    = CalculateCrc32 (Area + sizeof (UINT32), LOGO_HEADER_BLOCK_SIZE - sizeof (UINT32));
  if (Crc != Header->Crc32) {
    DEBUG ((DEBUG_ERROR, "Invalid CRC32 Calc:0x%x Head:0x%x\n", Crc, Header->Crc32));
    return FALSE;
  }

  if (!CompareGuid (&Header->MagicGuid, &gZubLogoFlashMagicGuid)) {
    DEBUG ((DEBUG_ERROR, "Invalid Magic Guid: %g\n", &Header->MagicGuid));
    return FALSE;
  }

  if (((Logo[0].Offset | Logo[1].Offset | Logo[2].Offset) & (LOGO_HEADER_BLOCK_SIZE - 1)) != 0) {
    DEBUG ((DEBUG_ERROR, "Offset not aliged by 4KB: 0x%x 0x%x 0x%x\n", Logo[0].Offset, Logo[1].Offset, Logo[2].Offset));
    return FALSE;
  }

  for (Index = 0; Index < LOGO_SLOT_COUNT; Index++) {
    if ((Logo[Index].Offset < LOGO_FIRST_LOGO_OFFSET) ||
        ((UINT64)Logo[Index].Offset + Logo[Index].Size >= LOGO_AREA_SIZE))
    {
      DEBUG ((DEBUG_ERROR, "Invalid logo range [0x%x, %u] [0x%x, %u] [0x%x, %u]\n",
              Logo[0].Offset, Logo[0].Size, Logo[1].Offset, Logo[1].Size, Logo[2].Offset, Logo[2].Size));
      return FALSE;
    }
  }

  //
  // Every range now lies inside the area.
  //
  for (Index = 0; Index < LOGO_SLOT_COUNT; Index++) {
    Crc = CalculateCrc32 (Area + Logo[Index].Offset, Logo[Index].Size);
    if (Crc != Logo[Index].Crc32) {
      DEBUG ((DEBUG_ERROR, CrcMessages[Index], Crc, Logo[Index].Crc32));
      return FALSE;
    }
  }

  return TRUE;
}

BOOLEAN
LogoImageFits (
  IN CONST VOID  *Image,
  IN UINTN       Available
  )
{
  UINT32  Declared;

  if ((Image == NULL) || (Available < BMP_FILE_HEADER_BYTES)) {
    DEBUG ((DEBUG_ERROR, "Logo image too small: %u\n", (UINT32)Available));
    return FALSE;
  }

  Declared = ReadUnaligned32 ((CONST UINT8 *)Image + BMP_FILE_SIZE_OFFSET);
  if (Declared > Available) {
    DEBUG ((DEBUG_ERROR, "Logo image declares %u bytes, %u found\n", Declared, (UINT32)Available));
    return FALSE;
  }

  return TRUE;
}
