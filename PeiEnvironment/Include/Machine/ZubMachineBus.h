/** @file
  The seam between the machine library (the instruction set every module image links)
  and the board that executes it. The board attaches one bus; every port access, memory
  access, CPUID and dead loop of a module goes through it, with the address of the
  calling instruction so that the board can tell which image made the access.
**/
#ifndef ZUB_MACHINE_BUS_H_
#define ZUB_MACHINE_BUS_H_

#include <Uefi/UefiBaseType.h>
#include <Library/BaseLib.h>

typedef struct {
  VOID    *Context;
  UINT32  (*IoRead)(VOID *Context, UINT16 Port, UINT8 Bytes, CONST VOID *Caller);
  VOID    (*IoWrite)(VOID *Context, UINT16 Port, UINT8 Bytes, UINT32 Value, CONST VOID *Caller);
  UINT64  (*MmioRead)(VOID *Context, UINT64 Address, UINT8 Bytes, CONST VOID *Caller);
  VOID    (*MmioWrite)(VOID *Context, UINT64 Address, UINT8 Bytes, UINT64 Value, CONST VOID *Caller);
  VOID *  (*MapMemory)(VOID *Context, UINT64 Address, UINT64 Length, CONST VOID *Caller);
  VOID    (*Cpuid)(VOID *Context, UINT32 Leaf, UINT32 SubLeaf, UINT32 Registers[4]);
  UINT64  (*ReadMm7)(VOID *Context);
  VOID    (*ReadIdtr)(VOID *Context, IA32_DESCRIPTOR *Idtr);
  VOID    (*DeadLoop)(VOID *Context, CONST VOID *Caller);   // does not return
} ZUB_MACHINE_BUS;

extern "C" {
// Attach the bus (NULL detaches it). Called by the board, never by a module.
VOID EFIAPI ZubMachineAttachBus (IN CONST ZUB_MACHINE_BUS *Bus);
}

#endif
