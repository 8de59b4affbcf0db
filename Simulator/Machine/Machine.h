// The CPU's view of the board: it executes the module images' port and memory accesses,
// CPUID and dead loops (through the machine library's bus), charges virtual time for each
// access, and counts the accesses per image.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "BootEnd.h"
#include "MemoryMap.h"
#include "PortMap.h"
#include "VirtualClock.h"

#include <Machine/ZubMachineBus.h>

namespace zub {

struct CpuidLeaf {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// Access counters and virtual time of one image (or of the board itself).
struct AccessStats {
  uint64_t portReads = 0, portWrites = 0, mmioReads = 0, mmioWrites = 0, maps = 0;
  uint64_t virtualNs = 0;
};

class Machine {
public:
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  VirtualClock clock;
  PortMap ports;
  MemoryMap memory;

  // CPU state the board sets up.
  std::map<uint32_t, CpuidLeaf> cpuid;   // by leaf; absent leaves read 0
  uint64_t mm7 = 0;                       // reference-code pointer table
  uintptr_t idtBase = 0;                  // IDTR base (the PEI services pointer sits below it)

  // Access from the board's own code (devices, outside firmware): charged, counted as "board".
  uint32_t ioRead(uint16_t port, unsigned bytes, const void* caller = nullptr);
  void ioWrite(uint16_t port, unsigned bytes, uint32_t value, const void* caller = nullptr);
  uint64_t mmioRead(uint64_t address, unsigned bytes, const void* caller = nullptr);
  void mmioWrite(uint64_t address, unsigned bytes, uint64_t value, const void* caller = nullptr);
  uint8_t* mapMemory(uint64_t address, uint64_t length, const void* caller = nullptr);

  // Ends the boot at once (unwinds to the dispatcher).
  [[noreturn]] void endBoot(BootEndKind kind, std::string detail);

  // Image ranges, so that an access can be charged to the image that made it.
  void registerImage(const std::string& name, uintptr_t begin, uintptr_t end);
  void unregisterImages();
  const std::string& imageOf(const void* caller) const;
  const std::map<std::string, AccessStats>& stats() const { return stats_; }
  void resetStats();

  // Every port access is observed by these (POST codes, event log); after the device.
  using PortObserver = void (*)(void* context, uint16_t port, unsigned bytes, uint32_t value, bool write);
  void observePorts(PortObserver observer, void* context) { portObservers_.push_back({observer, context}); }

  // Attach this machine to the machine library (the images' instruction set).
  void attach();
  void detach();

private:
  AccessStats& statsFor(const void* caller);
  void chargeMemoryAccess(const void* caller, uint64_t AccessStats::*counter, uint64_t cost);

  struct Image {
    std::string name;
    uintptr_t begin, end;
    AccessStats* stats = nullptr;   // its entry of stats_, found at its first access
  };
  std::vector<Image> images_;
  std::map<std::string, AccessStats> stats_;   // entries stay put: Image::stats points into it
  AccessStats* boardStats_ = nullptr;
  std::vector<std::pair<PortObserver, void*>> portObservers_;
  ZUB_MACHINE_BUS bus_{};
  uint16_t lastPort_ = 0;
  unsigned repeatReads_ = 0;
};

}  // namespace zub
