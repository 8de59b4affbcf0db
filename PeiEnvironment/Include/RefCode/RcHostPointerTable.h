/** @file
  The processor and memory reference code's table of pointers for PEI modules.

  The reference code publishes the table's address in MMX register 7 (AsmReadMm7) and,
  once memory is available, in a GUID HOB whose data is the 64-bit table address. The
  layouts behind the pointers belong to the reference code; the headers that describe
  the fields a module uses sit beside this one.
**/
#ifndef RC_HOST_POINTER_TABLE_H_
#define RC_HOST_POINTER_TABLE_H_

#include <PiPei.h>

#define RC_HOST_POINTER_TABLE_SIGNATURE  SIGNATURE_32 ('R', 'C', 'P', 'T')

typedef UINTN (EFIAPI *RC_GET_PCIE_CFG_ADDRESS)(
  IN UINT8 Segment, IN UINT8 Bus, IN UINT8 Device, IN UINT8 Function, IN UINT32 Register);
typedef EFI_STATUS (EFIAPI *RC_GET_CPU_AND_REVISION)(OUT UINT8 *CpuType, OUT UINT8 *CpuRevision);

//
// Silicon services of the reference code. The register-access service keeps the
// hardware's 3-bit function and 5-bit device fields.
//
typedef struct {
  UINT64                   Revision;
  RC_GET_PCIE_CFG_ADDRESS  GetPcieCfgAddress;
  RC_GET_CPU_AND_REVISION  GetCpuAndRevision;
} RC_SILICON_SERVICES;

#define RC_CPU_TYPE_SKX  0
#define RC_CPU_TYPE_CPX  2
#define RC_CPU_TYPE_ICX  4

#pragma pack(push, 1)
typedef struct {
  UINT32  Signature;
  UINT32  Revision;
  UINT64  SysHost;            // host data: warning log and memory topology
  UINT64  SetupData;          // memory setup and test options
  UINT64  SiliconServices;    // RC_SILICON_SERVICES
  UINT64  IioData;            // IIO initialisation data block
  UINT64  Reserved[3];
} RC_HOST_POINTER_TABLE;
#pragma pack(pop)

extern EFI_GUID gRcHostPointerTableHobGuid;

#endif
