/** @file
  Wrappers of the PEI services over the table pointer the Foundation keeps for the CPU.
**/
#ifndef PEI_SERVICES_LIB_H_
#define PEI_SERVICES_LIB_H_

#include <PiPei.h>

EFI_STATUS EFIAPI PeiServicesInstallPpi (IN CONST EFI_PEI_PPI_DESCRIPTOR *PpiList);
EFI_STATUS EFIAPI PeiServicesLocatePpi (IN CONST EFI_GUID *Guid, IN UINTN Instance,
                                        IN OUT EFI_PEI_PPI_DESCRIPTOR **PpiDescriptor OPTIONAL, IN OUT VOID **Ppi);
EFI_STATUS EFIAPI PeiServicesNotifyPpi (IN CONST EFI_PEI_NOTIFY_DESCRIPTOR *NotifyList);
EFI_STATUS EFIAPI PeiServicesGetBootMode (OUT EFI_BOOT_MODE *BootMode);
EFI_STATUS EFIAPI PeiServicesGetHobList (OUT VOID **HobList);
EFI_STATUS EFIAPI PeiServicesCreateHob (IN UINT16 Type, IN UINT16 Length, OUT VOID **Hob);
EFI_STATUS EFIAPI PeiServicesFfsFindNextVolume (IN UINTN Instance, IN OUT EFI_PEI_FV_HANDLE *VolumeHandle);
EFI_STATUS EFIAPI PeiServicesFfsFindFileByName (IN CONST EFI_GUID *FileName, IN EFI_PEI_FV_HANDLE VolumeHandle,
                                                OUT EFI_PEI_FILE_HANDLE *FileHandle);
EFI_STATUS EFIAPI PeiServicesFfsFindSectionData (IN EFI_SECTION_TYPE SectionType, IN EFI_PEI_FILE_HANDLE FileHandle,
                                                 OUT VOID **SectionData);
EFI_STATUS EFIAPI PeiServicesAllocatePool (IN UINTN Size, OUT VOID **Buffer);
EFI_STATUS EFIAPI PeiServicesAllocatePages (IN UINTN MemoryType, IN UINTN Pages, OUT EFI_PHYSICAL_ADDRESS *Memory);
EFI_STATUS EFIAPI PeiServicesReportStatusCode (IN EFI_STATUS_CODE_TYPE Type, IN EFI_STATUS_CODE_VALUE Value,
                                               IN UINT32 Instance, IN CONST EFI_GUID *CallerId OPTIONAL,
                                               IN CONST EFI_STATUS_CODE_DATA *Data OPTIONAL);
VOID *     EFIAPI AllocatePool (IN UINTN AllocationSize);
VOID *     EFIAPI AllocateZeroPool (IN UINTN AllocationSize);

#endif
