/** @file
  Thin wrappers of the PEI services.
**/
#include <PiPei.h>
#include <Library/PeiServicesLib.h>
#include <Library/PeiServicesTablePointerLib.h>

#define SERVICES()  GetPeiServicesTablePointer ()

EFI_STATUS EFIAPI PeiServicesInstallPpi (IN CONST EFI_PEI_PPI_DESCRIPTOR *PpiList)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->InstallPpi (PeiServices, PpiList);
}

EFI_STATUS EFIAPI PeiServicesLocatePpi (IN CONST EFI_GUID *Guid, IN UINTN Instance,
                                        IN OUT EFI_PEI_PPI_DESCRIPTOR **PpiDescriptor, IN OUT VOID **Ppi)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->LocatePpi (PeiServices, Guid, Instance, PpiDescriptor, Ppi);
}

EFI_STATUS EFIAPI PeiServicesNotifyPpi (IN CONST EFI_PEI_NOTIFY_DESCRIPTOR *NotifyList)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->NotifyPpi (PeiServices, NotifyList);
}

EFI_STATUS EFIAPI PeiServicesGetBootMode (OUT EFI_BOOT_MODE *BootMode)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->GetBootMode (PeiServices, BootMode);
}

EFI_STATUS EFIAPI PeiServicesGetHobList (OUT VOID **HobList)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->GetHobList (PeiServices, HobList);
}

EFI_STATUS EFIAPI PeiServicesCreateHob (IN UINT16 Type, IN UINT16 Length, OUT VOID **Hob)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->CreateHob (PeiServices, Type, Length, Hob);
}

EFI_STATUS EFIAPI PeiServicesFfsFindNextVolume (IN UINTN Instance, IN OUT EFI_PEI_FV_HANDLE *VolumeHandle)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->FfsFindNextVolume (PeiServices, Instance, VolumeHandle);
}

EFI_STATUS EFIAPI PeiServicesFfsFindFileByName (IN CONST EFI_GUID *FileName, IN EFI_PEI_FV_HANDLE VolumeHandle,
                                                OUT EFI_PEI_FILE_HANDLE *FileHandle)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->FfsFindFileByName (FileName, VolumeHandle, FileHandle);
}

EFI_STATUS EFIAPI PeiServicesFfsFindSectionData (IN EFI_SECTION_TYPE SectionType, IN EFI_PEI_FILE_HANDLE FileHandle,
                                                 OUT VOID **SectionData)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY
                               : (*PeiServices)->FfsFindSectionData (PeiServices, SectionType, FileHandle, SectionData);
}

EFI_STATUS EFIAPI PeiServicesAllocatePool (IN UINTN Size, OUT VOID **Buffer)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->AllocatePool (PeiServices, Size, Buffer);
}

EFI_STATUS EFIAPI PeiServicesAllocatePages (IN UINTN MemoryType, IN UINTN Pages, OUT EFI_PHYSICAL_ADDRESS *Memory)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY : (*PeiServices)->AllocatePages (PeiServices, MemoryType, Pages, Memory);
}

EFI_STATUS EFIAPI PeiServicesReportStatusCode (IN EFI_STATUS_CODE_TYPE Type, IN EFI_STATUS_CODE_VALUE Value,
                                               IN UINT32 Instance, IN CONST EFI_GUID *CallerId,
                                               IN CONST EFI_STATUS_CODE_DATA *Data)
{
  CONST EFI_PEI_SERVICES  **PeiServices = SERVICES ();
  return (PeiServices == NULL) ? EFI_NOT_READY
                               : (*PeiServices)->ReportStatusCode (PeiServices, Type, Value, Instance, CallerId, Data);
}

VOID * EFIAPI AllocatePool (IN UINTN AllocationSize)
{
  VOID  *Buffer;
  if (EFI_ERROR (PeiServicesAllocatePool (AllocationSize, &Buffer))) {
    return NULL;
  }
  return Buffer;
}

VOID * EFIAPI AllocateZeroPool (IN UINTN AllocationSize)
{
  UINT8  *Buffer = (UINT8 *)AllocatePool (AllocationSize);
  if (Buffer != NULL) {
    for (UINTN Index = 0; Index < AllocationSize; Index++) {
      Buffer[Index] = 0;
    }
  }
  return Buffer;
}
