#include "Machine.h"

#include <algorithm>

namespace zub {

const char* bootEndName(BootEndKind kind) {
  switch (kind) {
    case BootEndKind::Completed: return "completed";
    case BootEndKind::WarmReset: return "warm-reset";
    case BootEndKind::ColdReset: return "cold-reset";
    case BootEndKind::Halted: return "halted";
    case BootEndKind::PowerLoss: return "power-loss";
  }
  return "unknown";
}

namespace {
const std::string kBoard = "board";

Machine* self(void* context) { return static_cast<Machine*>(context); }
}  // namespace

Machine::Machine() {
  bus_.Context = this;
  bus_.IoRead = [](void* c, UINT16 port, UINT8 bytes, const void* caller) -> UINT32 {
    return self(c)->ioRead(port, bytes, caller);
  };
  bus_.IoWrite = [](void* c, UINT16 port, UINT8 bytes, UINT32 value, const void* caller) {
    self(c)->ioWrite(port, bytes, value, caller);
  };
  bus_.MmioRead = [](void* c, UINT64 address, UINT8 bytes, const void* caller) -> UINT64 {
    return self(c)->mmioRead(address, bytes, caller);
  };
  bus_.MmioWrite = [](void* c, UINT64 address, UINT8 bytes, UINT64 value, const void* caller) {
    self(c)->mmioWrite(address, bytes, value, caller);
  };
  bus_.MapMemory = [](void* c, UINT64 address, UINT64 length, const void* caller) -> VOID* {
    return self(c)->mapMemory(address, length, caller);
  };
  bus_.Cpuid = [](void* c, UINT32 leaf, UINT32, UINT32 regs[4]) {
    auto it = self(c)->cpuid.find(leaf);
    CpuidLeaf l = it == self(c)->cpuid.end() ? CpuidLeaf{} : it->second;
    regs[0] = l.eax, regs[1] = l.ebx, regs[2] = l.ecx, regs[3] = l.edx;
  };
  bus_.ReadMm7 = [](void* c) -> UINT64 { return self(c)->mm7; };
  bus_.ReadIdtr = [](void* c, IA32_DESCRIPTOR* idtr) {
    idtr->Base = self(c)->idtBase;
    idtr->Limit = 0x7FF;
  };
  bus_.DeadLoop = [](void* c, const void* caller) {
    self(c)->endBoot(BootEndKind::Halted, "CpuDeadLoop in " + self(c)->imageOf(caller));
  };
}

Machine::~Machine() { detach(); }

void Machine::attach() { ZubMachineAttachBus(&bus_); }
void Machine::detach() { ZubMachineAttachBus(nullptr); }

void Machine::registerImage(const std::string& name, uintptr_t begin, uintptr_t end) {
  images_.push_back({name, begin, end});
}

void Machine::unregisterImages() { images_.clear(); }

const std::string& Machine::imageOf(const void* caller) const {
  auto a = reinterpret_cast<uintptr_t>(caller);
  for (const Image& i : images_)
    if (a >= i.begin && a < i.end) return i.name;
  return kBoard;
}

// Every access is charged here: the image is found by address and its counters through
// the pointer kept with it, without a lookup by name.
AccessStats& Machine::statsFor(const void* caller) {
  auto a = reinterpret_cast<uintptr_t>(caller);
  for (Image& i : images_)
    if (a >= i.begin && a < i.end) return i.stats ? *i.stats : *(i.stats = &stats_[i.name]);
  return boardStats_ ? *boardStats_ : *(boardStats_ = &stats_[kBoard]);
}

void Machine::resetStats() {
  stats_.clear();
  boardStats_ = nullptr;
  for (Image& i : images_) i.stats = nullptr;
}

uint32_t Machine::ioRead(uint16_t port, unsigned bytes, const void* caller) {
  // A CPU spinning on the same port (the ACPI timer in a delay loop) is charged a growing
  // slice per read, up to 1 ms, so that long waits cost little host time. The step stays
  // far below the timer's 24-bit wrap (4.7 s), so delay loops still count correctly.
  uint64_t cost = kPortAccessNs;
  if (port == lastPort_ && repeatReads_ > 0) cost = std::min<uint64_t>(kPortAccessNs << std::min(repeatReads_, 10u), 1'000'000);
  repeatReads_ = port == lastPort_ ? repeatReads_ + 1 : 1;
  lastPort_ = port;

  clock.advance(cost);
  AccessStats& s = statsFor(caller);
  s.portReads++;
  s.virtualNs += cost;
  PortDevice* d = ports.find(port);
  uint32_t ones = bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
  uint32_t value = d ? d->ioRead(port, bytes) & ones : ones;
  for (auto& [observer, context] : portObservers_) observer(context, port, bytes, value, false);
  return value;
}

void Machine::ioWrite(uint16_t port, unsigned bytes, uint32_t value, const void* caller) {
  repeatReads_ = 0;
  clock.advance(kPortAccessNs);
  AccessStats& s = statsFor(caller);
  s.portWrites++;
  s.virtualNs += kPortAccessNs;
  if (PortDevice* d = ports.find(port)) d->ioWrite(port, bytes, value);
  for (auto& [observer, context] : portObservers_) observer(context, port, bytes, value, true);
}

void Machine::chargeMemoryAccess(const void* caller, uint64_t AccessStats::*counter, uint64_t cost) {
  repeatReads_ = 0;
  clock.advance(cost);
  AccessStats& s = statsFor(caller);
  s.*counter += 1;
  s.virtualNs += cost;
}

uint64_t Machine::mmioRead(uint64_t address, unsigned bytes, const void* caller) {
  chargeMemoryAccess(caller, &AccessStats::mmioReads, kMmioAccessNs);
  return memory.read(address, bytes);
}

void Machine::mmioWrite(uint64_t address, unsigned bytes, uint64_t value, const void* caller) {
  chargeMemoryAccess(caller, &AccessStats::mmioWrites, kMmioAccessNs);
  memory.write(address, bytes, value);
}

uint8_t* Machine::mapMemory(uint64_t address, uint64_t length, const void* caller) {
  chargeMemoryAccess(caller, &AccessStats::maps, kMapMemoryNs);
  return memory.hostPointer(address, length);
}

void Machine::endBoot(BootEndKind kind, std::string detail) { throw BootEnd{kind, std::move(detail)}; }

}  // namespace zub
