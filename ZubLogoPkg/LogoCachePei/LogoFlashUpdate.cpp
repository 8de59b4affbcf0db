/** @file
  SpiFlashPpiNotify: rewrites the customer logo set into the flash logo area, or erases
  the header block for a standard logo. The header is written last, so that an
  interrupted update leaves an area that fails validation at the next boot.
**/
#include "LogoCache.h"

#include <Library/BaseMemoryLib.h>
#include <Library/Crc32Lib.h>
#include <Library/DebugLib.h>
#include <Library/FlashWriteLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>
#include <Ppi/QuickTrans.h>

typedef struct {
  EFI_STATUS_CODE_DATA  Header;
  UINT32                WarningCode;
} LOGO_WARNING_DATA;

STATIC
VOID
ReportLogoTooLarge (
  VOID
  )
{
  LOGO_WARNING_DATA  Data;

  Data.Header.HeaderSize = sizeof (EFI_STATUS_CODE_DATA);
  Data.Header.Size       = sizeof (UINT32);
  CopyGuid (&Data.Header.Type, &gEfiStatusCodeSpecificDataGuid);
  Data.WarningCode       = LOGO_WARNING_TOO_LARGE;
  PeiServicesReportStatusCode (EFI_PROGRESS_CODE, 0xFFFFFFFF, 0, &gZubLogoCachePeiFileGuid, &Data.Header);
}

EFI_STATUS
EFIAPI
SpiFlashPpiNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  EFI_STATUS         Status;
  QUICK_TRANS_PPI    *QuickTrans;
  LOGO_FLASH_HEADER  *Header;
  UINT32             Next;
  UINT32             Aligned;
  UINT64             AlignedSize;
  UINT32             FileSize;
  VOID               *FileData;
  UINTN              Index;
  STATIC UINT8       HeaderBlock[LOGO_HEADER_BLOCK_SIZE];

  DEBUG ((DEBUG_INFO, "SpiFlashPpiNotify ---start\n"));
  if (PcdGet8 (PcdZubLogoUpdate) == 0) {
    DEBUG ((DEBUG_INFO, "No need to check logo flash update\n"));
    return EFI_SUCCESS;
  }

  if (PcdGet8 (PcdZubOemFlag) < LOGO_CUSTOMER_OEM_FIRST) {
    DEBUG ((DEBUG_INFO, "Only erase flash logo fv\n"));
    ZubFlashErase (LOGO_AREA_FLASH_OFFSET, LOGO_HEADER_BLOCK_SIZE);
    return EFI_SUCCESS;
  }

  Status = PeiServicesLocatePpi (&gQuickTransPpiGuid, 0, NULL, (VOID **)&QuickTrans);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate quick trans ppi %r\n", Status));
    return Status;
  }

  ZeroMem (HeaderBlock, sizeof (HeaderBlock));
  Header = (LOGO_FLASH_HEADER *)HeaderBlock;
  Next   = LOGO_AREA_FLASH_OFFSET + LOGO_FIRST_LOGO_OFFSET;
  for (Index = 0; Index < LOGO_SLOT_COUNT; Index++) {
    FileSize = 0;
    FileData = NULL;
    Status   = QuickTrans->GetFile (mLogoFileNames[Index], &FileSize, &FileData);
    if (EFI_ERROR (Status)) {
      DEBUG ((DEBUG_ERROR, "Failed to download %a %r\n", mLogoFileNames[Index], Status));
      return Status;
    }

    //
    // Rounded up in 64 bits: a size near 4 GB must not wrap to a small block count.
    //
    AlignedSize = ((UINT64)FileSize + LOGO_HEADER_BLOCK_SIZE - 1) & ~(UINT64)(LOGO_HEADER_BLOCK_SIZE - 1);
    Aligned     = (UINT32)AlignedSize;
    DEBUG ((DEBUG_INFO, "Get <%a> size:%u  align size:%u\n", mLogoFileNames[Index], FileSize, Aligned));
    if ((UINT64)Next + AlignedSize >= LOGO_AREA_WRITE_LIMIT) {
      DEBUG ((DEBUG_ERROR, "Logo size overflow %u %u\n", Next, Aligned));
      ReportLogoTooLarge ();
      return EFI_OUT_OF_RESOURCES;
    }

    Header->Logo[Index].Offset = Next - LOGO_AREA_FLASH_OFFSET;
    Header->Logo[Index].Size   = FileSize;
    Header->Logo[Index].Crc32  = CalculateCrc32 (FileData, FileSize);

    //
    // The bytes after the file up to the block end are whatever follows it in the answer
    // area. The next slot follows whatever this write returned.
    //
    ZubFlashWriteData (Next, Aligned, FileData);
    Next += Aligned;
  }

  CopyGuid (&Header->MagicGuid, &gZubLogoFlashMagicGuid);
  Header->OemId = PcdGet8 (PcdZubOemFlag);
  Header->Crc32 = CalculateCrc32 (HeaderBlock + sizeof (UINT32), LOGO_HEADER_BLOCK_SIZE - sizeof (UINT32));
  return ZubFlashWriteData (LOGO_AREA_FLASH_OFFSET, LOGO_HEADER_BLOCK_SIZE, HeaderBlock);
}
