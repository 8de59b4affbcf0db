/** @file
  Offsets of the reference code's host data (the first pointer of its pointer table) for
  this reference-code version. The host data is one block; the enhanced warning log sits
  at fixed offsets near its end, the memory topology in the block's first part.
**/
#ifndef RC_SYS_HOST_H_
#define RC_SYS_HOST_H_

#define RC_SYSHOST_SIZE                   0x2D000

// Enhanced warning log: UINT32 used size, then the entries from the first entry offset up
// to the memory warning byte, which follows the log area.
#define RC_SYSHOST_EWL_USED_SIZE_OFFSET   0x2B268
#define RC_SYSHOST_EWL_FIRST_ENTRY_OFFSET 0x2B274
#define RC_SYSHOST_EWL_AREA_END_OFFSET    0x2C43C
#define RC_SYSHOST_MEM_WARNING_OFFSET     0x2C43C

// Memory topology, DIMM identities and repair records.
#define RC_SYSHOST_MEMORY_OFFSET          0x1000
#define RC_SYSHOST_MEMORY_MAX_SIZE        0x20000

#endif
