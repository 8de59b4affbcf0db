/** @file
  The platform's NVRAM variable store in flash, as the firmware before this system leaves
  it: the GUID HOB that locates the store, the NVAR records the store is made of, and the
  firmware-volume file that holds the pristine "StdDefaults" record.
**/
#ifndef GUID_NVRAM_STORE_H_
#define GUID_NVRAM_STORE_H_

#include <PiPei.h>

#pragma pack(push, 1)

// Data of the NVRAM HOB, after the 24-byte GUID HOB header.
typedef struct {
  UINT64  NvramAddress;     // memory-mapped store; only the low 32 bits are an address
  UINT64  Reserved;
  UINT32  NvramSize;        // bytes of the store
} NVRAM_HOB_DATA;

// One NVAR record; the GUID field, the name and the data follow the header.
typedef struct {
  UINT32  Signature;        // NVAR_SIGNATURE
  UINT16  Size;             // whole record: header, GUID field, name and data
  UINT8   Next[3];          // forward offset to the newer version; 0 or 0xFFFFFF: none
  UINT8   Flags;
} NVAR_HEADER;

#pragma pack(pop)

static_assert (sizeof (NVRAM_HOB_DATA) == 20, "NVRAM HOB data is 20 bytes");
static_assert (sizeof (NVAR_HEADER) == 10, "NVAR header is 10 bytes");

#define NVAR_SIGNATURE          0x5241564E       // "NVAR"
#define NVAR_NEXT_NONE          0xFFFFFF
#define NVAR_FLAG_VALID         0x80
#define NVAR_FLAG_DATA_ONLY     0x08
#define NVAR_FLAG_GUID          0x04             // 16-byte GUID instead of a 1-byte GUID index
#define NVAR_FLAG_ASCII_NAME    0x02

extern EFI_GUID gNvramHobGuid;
extern EFI_GUID gSetupDefaultsFileGuid;

#endif
