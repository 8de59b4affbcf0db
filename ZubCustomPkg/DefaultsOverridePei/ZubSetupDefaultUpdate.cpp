/** @file
  ZubSetupDefaultNotify: runs when the PCH SPI flash PPI is installed. When the identity
  stored with the setup defaults (ZubCustomInfo) differs from this machine's, the flash
  area that holds "StdDefaults" is copied to RAM, the pristine defaults are restored from
  the firmware volume, the new identity and the override sets are applied, the area is
  written back and the system is reset so that the next boot runs with the new defaults.
**/
#include <Guid/NvramStore.h>
#include <Ppi/PchSpi.h>
#include <Ppi/PreResetCallback.h>
#include <Library/BaseLib.h>
#include <Library/BaseMemoryLib.h>
#include <Library/DebugLib.h>
#include <Library/FlashWriteLib.h>
#include <Library/HobLib.h>
#include <Library/IoLib.h>
#include <Library/PcdLib.h>
#include <Library/PeiServicesLib.h>

#include "ZubSetupDefaultUpdate.h"

#define FULL_RESET_PORT          0xCF9
#define FULL_RESET_VALUE         0x0E
#define RESET_BANNER_STARS       30
#define STD_DEFAULTS_COMPARE     sizeof (NVAR_HEADER)     // signature, Size, Next and Flags

STATIC
VOID *
StorePointer (
  IN CONST SETUP_DEFAULT_CONTEXT  *Context,
  IN UINT32                       Address
  )
{
  return Context->Store.Base + (Address - Context->Store.Address);
}

//
// The NVRAM HOB, walked by its length field up to the end of the list.
//
STATIC
CONST NVRAM_HOB_DATA *
FindNvramHob (
  VOID
  )
{
  EFI_PEI_HOB_POINTERS  Hob;
  EFI_STATUS            Status;

  Status = PeiServicesGetHobList ((VOID **)&Hob.Raw);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get hob list %r\n", Status));
    return NULL;
  }
  for ( ; (Hob.Raw != NULL) && !END_OF_HOB_LIST (Hob) && (GET_HOB_LENGTH (Hob) >= sizeof (EFI_HOB_GENERIC_HEADER));
       Hob.Raw = (UINT8 *)GET_NEXT_HOB (Hob)) {
    if ((GET_HOB_LENGTH (Hob) >= sizeof (EFI_HOB_GUID_TYPE) + sizeof (NVRAM_HOB_DATA)) &&
        CompareGuid (&Hob.Guid->Name, &gNvramHobGuid)) {
      return (CONST NVRAM_HOB_DATA *)GET_GUID_HOB_DATA (Hob.Guid);
    }
  }
  return NULL;
}

//
// Bytes of a raw section's data, from the section header in front of it.
//
STATIC
UINTN
RawSectionDataSize (
  IN CONST UINT8  *Data
  )
{
  UINT32  Size;

  Size = ReadUnaligned32 (Data - 4) & 0xFFFFFF;
  if ((Data[-1] == EFI_SECTION_RAW) && (Size != 0xFFFFFF)) {
    return (Size >= 4) ? Size - 4 : 0;
  }
  Size = ReadUnaligned32 (Data - 8) & 0xFFFFFF;
  if ((Data[-5] == EFI_SECTION_RAW) && (Size == 0xFFFFFF)) {
    Size = ReadUnaligned32 (Data - 4);
    return (Size >= 8) ? Size - 8 : 0;
  }
  return 0;
}

//
// Step 2: the pristine "StdDefaults" record from the defaults file, when the first volume
// that carries the file agrees with the header of the record in NVRAM.
//
STATIC
VOID
RecoverStdDefaults (
  IN CONST SETUP_DEFAULT_CONTEXT  *Context,
  IN UINT8                        *Buffer,
  IN UINT32                       RegionStart
  )
{
  EFI_PEI_FV_HANDLE    Volume;
  EFI_PEI_FILE_HANDLE  File;
  UINT8                *Section;
  UINTN                SectionSize;
  UINTN                Instance;
  EFI_STATUS           Status;

  for (Instance = 0; !EFI_ERROR (PeiServicesFfsFindNextVolume (Instance, &Volume)); Instance++) {
    Status = PeiServicesFfsFindFileByName (&gSetupDefaultsFileGuid, Volume, &File);
    if (EFI_ERROR (Status)) {
      continue;
    }
    Status = PeiServicesFfsFindSectionData (EFI_SECTION_RAW, File, (VOID **)&Section);
    if (EFI_ERROR (Status) || (Section == NULL)) {
      continue;
    }
    SectionSize = RawSectionDataSize (Section);
    if ((SectionSize < STD_DEFAULTS_COMPARE) ||
        (CompareMem (Section, StorePointer (Context, Context->StdNvar), STD_DEFAULTS_COMPARE) != 0)) {
      return;
    }
    if (SectionSize < Context->StdNvarSize) {
      DEBUG ((DEBUG_ERROR, "StdDefaults from FV_BB runs past its section %u %u\n", Context->StdNvarSize,
              (UINT32)SectionSize));
      return;
    }
    DEBUG ((DEBUG_INFO, "StdDefaults from FV_BB found\n"));
    CopyMem (Buffer + (Context->StdNvar - RegionStart), Section, Context->StdNvarSize);
    return;
  }
}

STATIC
EFI_STATUS
BiosRegionMappedStart (
  OUT UINT32  *MappedStart
  )
{
  PCH_SPI_PPI  *SpiPpi;
  UINT32       BaseAddress;
  UINT32       RegionSize;
  EFI_STATUS   Status;

  SpiPpi = NULL;
  Status = PeiServicesLocatePpi (&gPchSpiPpiGuid, 0, NULL, (VOID **)&SpiPpi);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to locate spi flash ppi %p %r\n", SpiPpi, Status));
    return Status;
  }
  BaseAddress = 0;
  RegionSize  = 0;
  Status      = SpiPpi->GetRegionAddress (SpiPpi, FlashRegionBios, &BaseAddress, &RegionSize);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to get bios spi base %r\n", Status));
    return Status;
  }
  //
  // The BIOS region ends at 4 GB.
  //
  *MappedStart = (UINT32)(0x100000000ULL - RegionSize);
  DEBUG ((DEBUG_INFO, "BIOS Region Raw : [0x%X ~ %uMB]\n", BaseAddress, RegionSize >> 20));
  DEBUG ((DEBUG_INFO, "BIOS Region Addr: [0x%X ~ %uMB]\n", *MappedStart, RegionSize >> 20));
  return EFI_SUCCESS;
}

STATIC
EFI_STATUS
UpdateSetupDefaults (
  IN  UINT32   NvramAddress,
  IN  UINT32   NvramSize,
  OUT BOOLEAN  *Updated
  )
{
  SETUP_DEFAULT_CONTEXT  Context;
  UINT8                  *CustomInfo;
  UINT8                  *VarData[VAR_ID_COUNT];
  UINT8                  OemFlag;
  UINT8                  CustomId;
  UINT8                  HwType;
  UINT32                 MappedStart;
  UINT32                 Offset;
  UINT32                 Rem;
  UINT32                 Size;
  UINT32                 RegionStart;
  UINT32                 FlashOffset;
  VOID                   *Region;
  UINT8                  *Buffer;
  UINTN                  VarId;
  EFI_STATUS             Status;

  OemFlag  = PcdGet8 (PcdZubOemFlag);
  CustomId = PcdGet8 (PcdZubCustomId);

  ZeroMem (&Context, sizeof (Context));
  Context.Store.Base    = (UINT8 *)PhysicalAddressToPointer (NvramAddress, NvramSize);
  Context.Store.Address = NvramAddress;
  Context.Store.Size    = NvramSize;
  if ((Context.Store.Base == NULL) || EFI_ERROR (ZubLocateStdDefaults (&Context))) {
    return EFI_NOT_FOUND;
  }
  Status = ZubGetVariablePointers (&Context);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  HwType     = ZubGetHwType ();
  CustomInfo = (UINT8 *)StorePointer (&Context, Context.VarData[VAR_ID_CUSTOM_INFO]);
  DEBUG ((DEBUG_INFO, "CUSTOM INFO OLD: OemFlag(%u) CustomId(%u) HwType(%u)\n", CustomInfo[CUSTOM_INFO_OEM_FLAG],
          CustomInfo[CUSTOM_INFO_CUSTOM_ID], CustomInfo[CUSTOM_INFO_HW_TYPE]));
  DEBUG ((DEBUG_INFO, "CUSTOM INFO NEW: OemFlag(%u) CustomId(%u) HwType(%u)\n", OemFlag, CustomId, HwType));
  if ((CustomInfo[CUSTOM_INFO_OEM_FLAG] == OemFlag) && (CustomInfo[CUSTOM_INFO_CUSTOM_ID] == CustomId) &&
      (CustomInfo[CUSTOM_INFO_HW_TYPE] == HwType)) {
    DEBUG ((DEBUG_INFO, "Custom info all match, just return\n"));
    return EFI_SUCCESS;
  }

  Status = BiosRegionMappedStart (&MappedStart);
  if (EFI_ERROR (Status)) {
    return Status;
  }

  //
  // The update region: whole 4 KB blocks from the block that holds the start of
  // "StdDefaults" to the one that holds its end.
  //
  Offset = Context.StdNvar - NvramAddress;
  DEBUG ((DEBUG_INFO, "NvramAddress:0x%X pStdNvar:0x%X Offset:%u\n", NvramAddress, Context.StdNvar, 0));
  Rem = 0;
  if ((Offset % ZUB_FLASH_BLOCK_SIZE) != 0) {
    Rem     = Offset % ZUB_FLASH_BLOCK_SIZE;
    Offset -= Rem;
    DEBUG ((DEBUG_INFO, "Offset is NOT 4KB align, align to %u\n", Offset));
  }
  Size = ALIGN_VALUE (Rem + Context.StdNvarSize, ZUB_FLASH_BLOCK_SIZE);
  DEBUG ((DEBUG_INFO, "Flash area to update Offset from NVRAM ADDR:%u  size:%u\n", Offset, Size));
  RegionStart = NvramAddress + Offset;
  DEBUG ((DEBUG_INFO, "Update Region: [0x%X ~ 0x%X]\n", RegionStart, RegionStart + Size));
  FlashOffset = RegionStart - MappedStart;

  DEBUG ((DEBUG_INFO, "<Step1>: Alloc buffer and copy nvram data to buffer\n"));
  Region = PhysicalAddressToPointer (RegionStart, Size);
  Buffer = NULL;
  if (Region != NULL) {
    PeiServicesAllocatePool (Size, (VOID **)&Buffer);
  }
  if (Buffer == NULL) {
    DEBUG ((DEBUG_ERROR, "Failed to alloc setup buf %u %p\n", Size, Buffer));
    return EFI_OUT_OF_RESOURCES;
  }
  CopyMem (Buffer, Region, Size);

  DEBUG ((DEBUG_INFO, "<Step2>: Recover setup default data\n"));
  RecoverStdDefaults (&Context, Buffer, RegionStart);

  DEBUG ((DEBUG_INFO, "<Step3>: Update setup default data in buffer\n"));
  for (VarId = 0; VarId < VAR_ID_COUNT; VarId++) {
    VarData[VarId] = (Context.VarData[VarId] != 0) ? Buffer + (Context.VarData[VarId] - RegionStart) : NULL;
  }
  OemFlag  = PcdGet8 (PcdZubOemFlag);
  CustomId = PcdGet8 (PcdZubCustomId);
  HwType   = ZubGetHwType ();
  VarData[VAR_ID_CUSTOM_INFO][CUSTOM_INFO_OEM_FLAG]  = OemFlag;
  VarData[VAR_ID_CUSTOM_INFO][CUSTOM_INFO_CUSTOM_ID] = CustomId;
  VarData[VAR_ID_CUSTOM_INFO][CUSTOM_INFO_HW_TYPE]   = HwType;
  ZubApplySetupOverrides (VarData, OemFlag, CustomId, HwType);

  DEBUG ((DEBUG_INFO, "<Step4>: Write new setup default data to spi flash\n"));
  Status = ZubFlashWriteData (FlashOffset, Size, Buffer);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to write flash 0x%x %u %r\n", FlashOffset, Size, Status));
    return Status;
  }
  *Updated = TRUE;
  DEBUG ((DEBUG_INFO, "<End>: Successfully update setup Defaults.bin data in spi flash\n"));
  return EFI_SUCCESS;
}

STATIC
VOID
RunPreResetCallbacks (
  VOID
  )
{
  PRE_RESET_CALLBACK_PPI  *Callback;
  UINTN                   Instance;

  for (Instance = 0; !EFI_ERROR (PeiServicesLocatePpi (&gPreResetCallbackPpiGuid, Instance, NULL, (VOID **)&Callback));
       Instance++) {
    Callback->PreResetCallback (0);
  }
}

STATIC
VOID
PrintResetBanner (
  VOID
  )
{
  UINTN  Index;

  for (Index = 0; Index < RESET_BANNER_STARS; Index++) {
    DEBUG ((DEBUG_INFO, "*"));
  }
  DEBUG ((DEBUG_INFO, "\n**    SYSTEM REBOOT !!!     **\n"));
  for (Index = 0; Index < RESET_BANNER_STARS; Index++) {
    DEBUG ((DEBUG_INFO, "*"));
  }
  DEBUG ((DEBUG_INFO, "\n TYPE OF RESET: %d \n", 0));
}

EFI_STATUS
EFIAPI
ZubSetupDefaultNotify (
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  )
{
  CONST NVRAM_HOB_DATA  *NvramHob;
  UINT64                NvramAddress;
  UINT32                NvramSize;
  BOOLEAN               Updated;
  UINT8                 ResetRequest;
  EFI_STATUS            Status;

  DEBUG ((DEBUG_INFO, "ZubSetupDefaultNotify --- start\n"));
  NvramHob = FindNvramHob ();
  if (NvramHob == NULL) {
    DEBUG ((DEBUG_ERROR, "Failed to find nvram hob\n"));
    return EFI_NOT_FOUND;
  }
  NvramAddress = ReadUnaligned64 (&NvramHob->NvramAddress);
  NvramSize    = ReadUnaligned32 (&NvramHob->NvramSize);
  if ((NvramAddress & (ZUB_FLASH_BLOCK_SIZE - 1)) != 0) {
    DEBUG ((DEBUG_ERROR, "Invalid nvram base address 0x%lx\n", NvramAddress));
    return EFI_INVALID_PARAMETER;
  }
  DEBUG ((DEBUG_INFO, "NVRAM Addr:0x%lX  NVRAM Size:0x%X\n", NvramAddress, NvramSize));

  Updated = FALSE;
  Status  = UpdateSetupDefaults ((UINT32)NvramAddress, NvramSize, &Updated);
  if (EFI_ERROR (Status)) {
    DEBUG ((DEBUG_ERROR, "Failed to update setup default %r\n", Status));
    return Status;
  }
  ResetRequest = PcdGet8 (PcdZubResetRequest);
  if (!Updated && (ResetRequest == 0)) {
    return EFI_SUCCESS;
  }

  DEBUG ((DEBUG_INFO, "System Reset For Setup Default Data Override %u %u !\n", Updated ? 1 : 0, ResetRequest));
  RunPreResetCallbacks ();
  PrintResetBanner ();
  IoWrite8 (FULL_RESET_PORT, FULL_RESET_VALUE);
  CpuDeadLoop ();
  return EFI_SUCCESS;
}
