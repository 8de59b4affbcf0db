/** @file
  The reference code's advanced memory test (AMT) data: the test options in its setup data
  (the second pointer of its pointer table) and, in the host data at
  RC_SYSHOST_MEMORY_OFFSET, the memory topology with each DIMM's identity and its
  post-package-repair records. Plain packed layouts of this reference-code version.
**/
#ifndef RC_MEMORY_TEST_H_
#define RC_MEMORY_TEST_H_

#include <PiPei.h>
#include <RefCode/RcSysHost.h>

#define RC_MAX_SOCKET            4
#define RC_MAX_CH                8
#define RC_MAX_DIMM              2
#define RC_AMT_MAX_RECORDS       5

//
// Option word bits: one advanced memory test per DRAM vendor.
//
#define RC_AMT_HYNIX_ENABLE      BIT16
#define RC_AMT_SAMSUNG_ENABLE    BIT17
#define RC_AMT_MICRON_ENABLE     BIT18
#define RC_AMT_VENDOR_MASK       (RC_AMT_HYNIX_ENABLE | RC_AMT_SAMSUNG_ENABLE | RC_AMT_MICRON_ENABLE)

#define RC_AMT_PARAM_MODE_CUSTOM 2     // the custom parameters apply whatever the vendor

//
// JEDEC manufacturer IDs as the reference code keeps them: the ID code in the high byte.
//
#define RC_DRAM_MFG_HYNIX        0xAD00
#define RC_DRAM_MFG_SAMSUNG      0xCE00
#define RC_DRAM_MFG_MICRON       0x2C00

//
// Repair record status.
//
#define AMT_PPR_DISABLE          1
#define AMT_PPR_HARD_SUCCESS     2
#define AMT_PPR_SOFT_SUCCESS     3
#define AMT_PPR_LIMIT_EXCEED     4
#define AMT_PPR_FAIL             5

#define RC_CHANNEL_TEST_PASSED   1

// Offset of the memory test options in the setup data block.
#define RC_SETUP_MEMORY_TEST_OFFSET  0x200

#pragma pack(push, 1)

typedef struct {
  UINT32  Options;           // bits 16-18: Hynix, Samsung, Micron tests
  UINT8   ParamMode;
  UINT16  CustomVdd;
  UINT8   CustomTwr;
  UINT16  CustomTrefi;
  UINT32  CustomPause;
  UINT16  Loops;
  UINT8   Ppr;
  UINT8   DimmPprCount;
  UINT8   SocketPprCount;
} RC_MEMORY_TEST_OPTIONS;

typedef struct {
  UINT8   Status;
  UINT8   Rank;
  UINT8   BankGroup;
  UINT8   Bank;
  UINT32  Row;
  UINT32  Column;
  UINT8   Reserved[4];
  UINT32  Dq;
  UINT32  Temperature;       // degrees Celsius, signed
} AMT_ERROR_RECORD;

typedef struct {
  UINT8             Present;
  UINT16            ManufacturerId;
  UINT8             ManufactureYear;     // BCD, two digits
  UINT8             ManufactureWeek;     // BCD, two digits
  UINT8             SerialNumber[4];
  CHAR8             PartNumber[20];      // blank padded, no NUL
  AMT_ERROR_RECORD  PprRecord[RC_AMT_MAX_RECORDS];
} RC_AMT_DIMM;

typedef struct {
  UINT8        TestStatus;               // RC_CHANNEL_TEST_PASSED: the channel's test passed
  RC_AMT_DIMM  Dimm[RC_MAX_DIMM];
} RC_AMT_CHANNEL;

typedef struct {
  UINT8           Present;
  RC_AMT_CHANNEL  Channel[RC_MAX_CH];
} RC_AMT_SOCKET;

typedef struct {
  RC_AMT_SOCKET  Socket[RC_MAX_SOCKET];
} RC_MEMORY_TOPOLOGY;

#pragma pack(pop)

static_assert (sizeof (AMT_ERROR_RECORD) == 24, "AMT_ERROR_RECORD is 24 bytes");
static_assert (sizeof (RC_MEMORY_TEST_OPTIONS) == 19, "memory test options layout");
static_assert (sizeof (RC_MEMORY_TOPOLOGY) <= RC_SYSHOST_MEMORY_MAX_SIZE, "the topology fits its host-data area");
static_assert (RC_SYSHOST_MEMORY_OFFSET + RC_SYSHOST_MEMORY_MAX_SIZE <= RC_SYSHOST_EWL_USED_SIZE_OFFSET,
               "the topology area ends before the warning log");

#endif
