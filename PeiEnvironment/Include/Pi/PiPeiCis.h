/** @file
  The PEI services table, PPI and notification descriptors, and the PCI configuration
  PPI of the services table, as the modules call them.
**/
#ifndef PI_PEI_CIS_H_
#define PI_PEI_CIS_H_

#include <Uefi/UefiBaseType.h>
#include <Pi/PiHob.h>
#include <Pi/PiStatusCode.h>
#include <Pi/PiFirmwareVolume.h>

typedef struct _EFI_PEI_SERVICES EFI_PEI_SERVICES;
typedef struct _EFI_PEI_NOTIFY_DESCRIPTOR EFI_PEI_NOTIFY_DESCRIPTOR;

#define EFI_PEI_PPI_DESCRIPTOR_PIC               0x00000001u
#define EFI_PEI_PPI_DESCRIPTOR_PPI               0x00000010u
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK   0x00000020u
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_DISPATCH   0x00000040u
#define EFI_PEI_PPI_DESCRIPTOR_NOTIFY_TYPES      0x00000060u
#define EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST    0x80000000u

typedef struct {
  UINTN     Flags;
  EFI_GUID  *Guid;
  VOID      *Ppi;
} EFI_PEI_PPI_DESCRIPTOR;

typedef EFI_STATUS (EFIAPI *EFI_PEIM_NOTIFY_ENTRY_POINT)(
  IN EFI_PEI_SERVICES           **PeiServices,
  IN EFI_PEI_NOTIFY_DESCRIPTOR  *NotifyDescriptor,
  IN VOID                       *Ppi
  );

struct _EFI_PEI_NOTIFY_DESCRIPTOR {
  UINTN                        Flags;
  EFI_GUID                     *Guid;
  EFI_PEIM_NOTIFY_ENTRY_POINT  Notify;
};

typedef EFI_STATUS (EFIAPI *EFI_PEIM_ENTRY_POINT2)(
  IN EFI_PEI_FILE_HANDLE     FileHandle,
  IN CONST EFI_PEI_SERVICES  **PeiServices
  );

typedef UINT32 EFI_BOOT_MODE;
#define BOOT_WITH_FULL_CONFIGURATION  0x00
#define BOOT_ON_S3_RESUME             0x11
#define BOOT_IN_RECOVERY_MODE         0x20

typedef enum {
  EfiPeiPciCfgWidthUint8  = 0,
  EfiPeiPciCfgWidthUint16 = 1,
  EfiPeiPciCfgWidthUint32 = 2,
  EfiPeiPciCfgWidthUint64 = 3,
  EfiPeiPciCfgWidthMaximum
} EFI_PEI_PCI_CFG_PPI_WIDTH;

//
// Configuration address of the PCI configuration PPI: bus 31:24, device 23:16,
// function 15:8, register 7:0; registers above 0xFF go to the upper 32 bits.
//
#define EFI_PEI_PCI_CFG_ADDRESS(Bus, Dev, Func, Reg) \
  ((UINT64)((((UINT64)(Bus)) << 24) | (((UINT64)(Dev)) << 16) | (((UINT64)(Func)) << 8) | \
   (((UINT64)(Reg)) < 256 ? ((UINT64)(Reg)) : (((UINT64)(Reg)) << 32))))

typedef struct _EFI_PEI_PCI_CFG2_PPI EFI_PEI_PCI_CFG2_PPI;

typedef EFI_STATUS (EFIAPI *EFI_PEI_PCI_CFG2_PPI_IO)(
  IN CONST EFI_PEI_SERVICES     **PeiServices,
  IN CONST EFI_PEI_PCI_CFG2_PPI *This,
  IN EFI_PEI_PCI_CFG_PPI_WIDTH  Width,
  IN UINT64                     Address,
  IN OUT VOID                   *Buffer
  );

typedef EFI_STATUS (EFIAPI *EFI_PEI_PCI_CFG2_PPI_RW)(
  IN CONST EFI_PEI_SERVICES     **PeiServices,
  IN CONST EFI_PEI_PCI_CFG2_PPI *This,
  IN EFI_PEI_PCI_CFG_PPI_WIDTH  Width,
  IN UINT64                     Address,
  IN VOID                       *SetBits,
  IN VOID                       *ClearBits
  );

struct _EFI_PEI_PCI_CFG2_PPI {
  EFI_PEI_PCI_CFG2_PPI_IO  Read;
  EFI_PEI_PCI_CFG2_PPI_IO  Write;
  EFI_PEI_PCI_CFG2_PPI_RW  Modify;
  UINT16                   Segment;
};

typedef struct {
  UINT64  Signature;
  UINT32  Revision;
  UINT32  HeaderSize;
  UINT32  CRC32;
  UINT32  Reserved;
} EFI_TABLE_HEADER;

#define PEI_SERVICES_SIGNATURE  0x5652455320494550ULL  // "PEI SERV"

typedef EFI_STATUS (EFIAPI *EFI_PEI_INSTALL_PPI)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN CONST EFI_PEI_PPI_DESCRIPTOR *PpiList);
typedef EFI_STATUS (EFIAPI *EFI_PEI_REINSTALL_PPI)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN CONST EFI_PEI_PPI_DESCRIPTOR *OldPpi,
  IN CONST EFI_PEI_PPI_DESCRIPTOR *NewPpi);
typedef EFI_STATUS (EFIAPI *EFI_PEI_LOCATE_PPI)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN CONST EFI_GUID *Guid, IN UINTN Instance,
  IN OUT EFI_PEI_PPI_DESCRIPTOR **PpiDescriptor OPTIONAL, IN OUT VOID **Ppi);
typedef EFI_STATUS (EFIAPI *EFI_PEI_NOTIFY_PPI)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN CONST EFI_PEI_NOTIFY_DESCRIPTOR *NotifyList);
typedef EFI_STATUS (EFIAPI *EFI_PEI_GET_BOOT_MODE)(
  IN CONST EFI_PEI_SERVICES **PeiServices, OUT EFI_BOOT_MODE *BootMode);
typedef EFI_STATUS (EFIAPI *EFI_PEI_SET_BOOT_MODE)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN EFI_BOOT_MODE BootMode);
typedef EFI_STATUS (EFIAPI *EFI_PEI_GET_HOB_LIST)(
  IN CONST EFI_PEI_SERVICES **PeiServices, OUT VOID **HobList);
typedef EFI_STATUS (EFIAPI *EFI_PEI_CREATE_HOB)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN UINT16 Type, IN UINT16 Length, OUT VOID **Hob);
typedef EFI_STATUS (EFIAPI *EFI_PEI_FFS_FIND_NEXT_VOLUME2)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN UINTN Instance, OUT EFI_PEI_FV_HANDLE *VolumeHandle);
typedef EFI_STATUS (EFIAPI *EFI_PEI_FFS_FIND_NEXT_FILE2)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN EFI_FV_FILETYPE SearchType,
  IN CONST EFI_PEI_FV_HANDLE FvHandle, IN OUT EFI_PEI_FILE_HANDLE *FileHandle);
typedef EFI_STATUS (EFIAPI *EFI_PEI_FFS_FIND_SECTION_DATA2)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN EFI_SECTION_TYPE SectionType,
  IN EFI_PEI_FILE_HANDLE FileHandle, OUT VOID **SectionData);
typedef EFI_STATUS (EFIAPI *EFI_PEI_INSTALL_PEI_MEMORY)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN EFI_PHYSICAL_ADDRESS MemoryBegin, IN UINT64 MemoryLength);
typedef EFI_STATUS (EFIAPI *EFI_PEI_ALLOCATE_PAGES)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN UINTN MemoryType, IN UINTN Pages,
  OUT EFI_PHYSICAL_ADDRESS *Memory);
typedef EFI_STATUS (EFIAPI *EFI_PEI_ALLOCATE_POOL)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN UINTN Size, OUT VOID **Buffer);
typedef VOID (EFIAPI *EFI_PEI_COPY_MEM)(IN VOID *Destination, IN VOID *Source, IN UINTN Length);
typedef VOID (EFIAPI *EFI_PEI_SET_MEM)(IN VOID *Buffer, IN UINTN Size, IN UINT8 Value);
typedef EFI_STATUS (EFIAPI *EFI_PEI_REPORT_STATUS_CODE)(
  IN CONST EFI_PEI_SERVICES **PeiServices, IN EFI_STATUS_CODE_TYPE Type,
  IN EFI_STATUS_CODE_VALUE Value, IN UINT32 Instance, IN CONST EFI_GUID *CallerId OPTIONAL,
  IN CONST EFI_STATUS_CODE_DATA *Data OPTIONAL);
typedef EFI_STATUS (EFIAPI *EFI_PEI_RESET_SYSTEM)(IN CONST EFI_PEI_SERVICES **PeiServices);
typedef EFI_STATUS (EFIAPI *EFI_PEI_FFS_FIND_BY_NAME)(
  IN CONST EFI_GUID *FileName, IN EFI_PEI_FV_HANDLE VolumeHandle, OUT EFI_PEI_FILE_HANDLE *FileHandle);
typedef EFI_STATUS (EFIAPI *EFI_PEI_UNSUPPORTED_SERVICE)(VOID);

//
// Slot order of the PI PEI services table. The services the modules use are typed;
// the rest are present so that the table keeps its layout.
//
struct _EFI_PEI_SERVICES {
  EFI_TABLE_HEADER                Hdr;
  EFI_PEI_INSTALL_PPI             InstallPpi;
  EFI_PEI_REINSTALL_PPI           ReInstallPpi;
  EFI_PEI_LOCATE_PPI              LocatePpi;
  EFI_PEI_NOTIFY_PPI              NotifyPpi;
  EFI_PEI_GET_BOOT_MODE           GetBootMode;
  EFI_PEI_SET_BOOT_MODE           SetBootMode;
  EFI_PEI_GET_HOB_LIST            GetHobList;
  EFI_PEI_CREATE_HOB              CreateHob;
  EFI_PEI_FFS_FIND_NEXT_VOLUME2   FfsFindNextVolume;
  EFI_PEI_FFS_FIND_NEXT_FILE2     FfsFindNextFile;
  EFI_PEI_FFS_FIND_SECTION_DATA2  FfsFindSectionData;
  EFI_PEI_INSTALL_PEI_MEMORY      InstallPeiMemory;
  EFI_PEI_ALLOCATE_PAGES          AllocatePages;
  EFI_PEI_ALLOCATE_POOL           AllocatePool;
  EFI_PEI_COPY_MEM                CopyMem;
  EFI_PEI_SET_MEM                 SetMem;
  EFI_PEI_REPORT_STATUS_CODE      ReportStatusCode;
  EFI_PEI_RESET_SYSTEM            ResetSystem;
  VOID                            *CpuIo;
  EFI_PEI_PCI_CFG2_PPI            *PciCfg;
  EFI_PEI_FFS_FIND_BY_NAME        FfsFindFileByName;
  EFI_PEI_UNSUPPORTED_SERVICE     FfsGetFileInfo;
  EFI_PEI_UNSUPPORTED_SERVICE     FfsGetVolumeInfo;
  EFI_PEI_UNSUPPORTED_SERVICE     RegisterForShadow;
  EFI_PEI_UNSUPPORTED_SERVICE     FindSectionData3;
  EFI_PEI_UNSUPPORTED_SERVICE     FfsGetFileInfo2;
  EFI_PEI_UNSUPPORTED_SERVICE     ResetSystem2;
};

#endif
