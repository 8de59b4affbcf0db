/** @file
  The machine's instruction set for module images: every access is handed to the bus
  the board attached, together with the address of the instruction that made it.
  Without a bus, reads float to all ones and writes are lost, as on an empty bus.
**/
#include <Machine/ZubMachineBus.h>
#include <Library/IoLib.h>
#include <Library/BaseLib.h>

#define ZUB_EXPORT  __attribute__ ((visibility ("default")))
#define CALLER      __builtin_return_address (0)

static CONST ZUB_MACHINE_BUS  *mBus;

extern "C" {

ZUB_EXPORT VOID EFIAPI ZubMachineAttachBus (IN CONST ZUB_MACHINE_BUS *Bus) { mBus = Bus; }

static UINT32 PortRead (UINTN Port, UINT8 Bytes, CONST VOID *Caller)
{
  UINT32 Ones = (Bytes == 4) ? 0xFFFFFFFFu : ((1u << (Bytes * 8)) - 1u);
  return (mBus != NULL) ? (mBus->IoRead (mBus->Context, (UINT16)Port, Bytes, Caller) & Ones) : Ones;
}

static VOID PortWrite (UINTN Port, UINT8 Bytes, UINT32 Value, CONST VOID *Caller)
{
  if (mBus != NULL) {
    mBus->IoWrite (mBus->Context, (UINT16)Port, Bytes, Value, Caller);
  }
}

static UINT64 MemRead (UINTN Address, UINT8 Bytes, CONST VOID *Caller)
{
  UINT64 Ones = (Bytes == 8) ? MAX_UINT64 : ((1ull << (Bytes * 8)) - 1ull);
  return (mBus != NULL) ? (mBus->MmioRead (mBus->Context, Address, Bytes, Caller) & Ones) : Ones;
}

static VOID MemWrite (UINTN Address, UINT8 Bytes, UINT64 Value, CONST VOID *Caller)
{
  if (mBus != NULL) {
    mBus->MmioWrite (mBus->Context, Address, Bytes, Value, Caller);
  }
}

ZUB_EXPORT UINT8  EFIAPI IoRead8 (UINTN Port)  { return (UINT8)PortRead (Port, 1, CALLER); }
ZUB_EXPORT UINT16 EFIAPI IoRead16 (UINTN Port) { return (UINT16)PortRead (Port, 2, CALLER); }
ZUB_EXPORT UINT32 EFIAPI IoRead32 (UINTN Port) { return PortRead (Port, 4, CALLER); }
ZUB_EXPORT UINT8  EFIAPI IoWrite8 (UINTN Port, UINT8 Value)   { PortWrite (Port, 1, Value, CALLER); return Value; }
ZUB_EXPORT UINT16 EFIAPI IoWrite16 (UINTN Port, UINT16 Value) { PortWrite (Port, 2, Value, CALLER); return Value; }
ZUB_EXPORT UINT32 EFIAPI IoWrite32 (UINTN Port, UINT32 Value) { PortWrite (Port, 4, Value, CALLER); return Value; }

ZUB_EXPORT UINT8  EFIAPI MmioRead8 (UINTN Address)  { return (UINT8)MemRead (Address, 1, CALLER); }
ZUB_EXPORT UINT16 EFIAPI MmioRead16 (UINTN Address) { return (UINT16)MemRead (Address, 2, CALLER); }
ZUB_EXPORT UINT32 EFIAPI MmioRead32 (UINTN Address) { return (UINT32)MemRead (Address, 4, CALLER); }
ZUB_EXPORT UINT64 EFIAPI MmioRead64 (UINTN Address) { return MemRead (Address, 8, CALLER); }
ZUB_EXPORT UINT8  EFIAPI MmioWrite8 (UINTN Address, UINT8 Value)   { MemWrite (Address, 1, Value, CALLER); return Value; }
ZUB_EXPORT UINT16 EFIAPI MmioWrite16 (UINTN Address, UINT16 Value) { MemWrite (Address, 2, Value, CALLER); return Value; }
ZUB_EXPORT UINT32 EFIAPI MmioWrite32 (UINTN Address, UINT32 Value) { MemWrite (Address, 4, Value, CALLER); return Value; }
ZUB_EXPORT UINT64 EFIAPI MmioWrite64 (UINTN Address, UINT64 Value) { MemWrite (Address, 8, Value, CALLER); return Value; }

ZUB_EXPORT VOID * EFIAPI PhysicalAddressToPointer (EFI_PHYSICAL_ADDRESS Address, UINTN Length)
{
  return (mBus != NULL) ? mBus->MapMemory (mBus->Context, Address, Length, CALLER) : NULL;
}

ZUB_EXPORT UINT32 EFIAPI AsmCpuidEx (UINT32 Index, UINT32 SubIndex, UINT32 *Eax, UINT32 *Ebx, UINT32 *Ecx, UINT32 *Edx)
{
  UINT32 Registers[4] = { 0, 0, 0, 0 };
  if (mBus != NULL) {
    mBus->Cpuid (mBus->Context, Index, SubIndex, Registers);
  }
  if (Eax != NULL) { *Eax = Registers[0]; }
  if (Ebx != NULL) { *Ebx = Registers[1]; }
  if (Ecx != NULL) { *Ecx = Registers[2]; }
  if (Edx != NULL) { *Edx = Registers[3]; }
  return Index;
}

ZUB_EXPORT UINT32 EFIAPI AsmCpuid (UINT32 Index, UINT32 *Eax, UINT32 *Ebx, UINT32 *Ecx, UINT32 *Edx)
{
  return AsmCpuidEx (Index, 0, Eax, Ebx, Ecx, Edx);
}

ZUB_EXPORT UINT64 EFIAPI AsmReadMm7 (VOID) { return (mBus != NULL) ? mBus->ReadMm7 (mBus->Context) : 0; }

ZUB_EXPORT VOID EFIAPI AsmReadIdtr (IA32_DESCRIPTOR *Idtr)
{
  Idtr->Limit = 0;
  Idtr->Base  = 0;
  if (mBus != NULL) {
    mBus->ReadIdtr (mBus->Context, Idtr);
  }
}

[[noreturn]] ZUB_EXPORT VOID EFIAPI CpuDeadLoop (VOID)
{
  if (mBus != NULL) {
    mBus->DeadLoop (mBus->Context, CALLER);
  }
  for (;;) {
  }
}

}  // extern "C"
