// One boot of the board: builds the machine, the chipset and devices, the BMC, the
// platform services and the Foundation from a board configuration and the persistent
// state, runs the timeline of the outside firmware with the modules dispatched along it,
// and ends the way the machine ends it (completed, reset, halt). Tests use the pieces
// directly: start(), then dispatch or call PPIs, then finish().
#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "BoardConfig.h"
#include "Bmc/Bmc.h"
#include "Bmc/QuickTransferResponder.h"
#include "Foundation/Dispatcher.h"
#include "Foundation/PeiCore.h"
#include "Machine/EventLog.h"
#include "Machine/Machine.h"
#include "PersistentState.h"
#include "Platform/Platform.h"
#include "Platform/ReferenceCode.h"

namespace zub {

class Ast2500;
class Chipset;
class Cpld;
class DiagnosisBoot;
class PchSpiFlashPpi;
class SpiFlash;
class BoardNvram;

struct BootOptions {
  std::filesystem::path firmwareDir = ZUB_FIRMWARE_DIR;
  ResetKind reset = ResetKind::Cold;   // how this boot begins
  uint32_t bootNumber = 1;
  // The power fails during this flash operation of the boot (0: never); unset: the board's
  // (flash.power_loss_at_op, counted over the life of the state).
  std::optional<uint32_t> powerLossAtFlashOp;
};

struct BootResult {
  BootEndKind end = BootEndKind::Completed;
  std::string detail;
  uint64_t virtualNs = 0;
};

class BootSession {
public:
  BootSession(const BoardConfig& board, const PersistentState& state, BootOptions options = {});
  ~BootSession();
  BootSession(const BootSession&) = delete;
  BootSession& operator=(const BootSession&) = delete;

  // Installs the services present at the start of PEI. run() calls it when needed.
  void start();
  // Runs the timeline to the end of PEI and the hand-over (or to the boot's earlier end).
  BootResult run();
  // Runs one timeline step (may throw BootEnd).
  void runStep(const TimelineStep& step);
  // Ends PEI now: dispatches what is ready, signals end of PEI. May throw BootEnd.
  void finishPei();
  // Reports a status code as the outside firmware would (ASCII text or raw payload).
  void reportStatusCode(uint32_t type, uint32_t value, const std::vector<uint8_t>& payload, bool withData = true);
  void reportStatusCode(uint32_t value, const std::string& text);

  // Locate a PPI as the board (for tests).
  template <class T>
  T* locate(const EFI_GUID& guid, size_t instance = 0) {
    void* p = nullptr;
    return EFI_ERROR(core_->locatePpi(guid, instance, nullptr, &p)) ? nullptr : static_cast<T*>(p);
  }

  Machine& machine() { return *machine_; }
  EventLog& events() { return *events_; }
  PeiCore& core() { return *core_; }
  Platform& platform() { return *platform_; }
  Bmc& bmc() { return *bmc_; }
  Chipset& chipset() { return *chipset_; }
  Ast2500* video() { return video_; }   // the board's AST2500; null on a board without one
  Cpld& cpld() { return *cpld_; }
  DiagnosisBoot& diagnosisBoot() { return *diagnosis_; }
  SpiFlash& flash() { return *flash_; }
  PchSpiFlashPpi& spiFlashPpi() { return *spiFlashPpi_; }
  BoardNvram& nvram() { return *nvram_; }   // the NVRAM HOB and the pre-reset callbacks
  ReferenceCode& referenceCode() { return *refCode_; }
  Dispatcher& dispatcher() { return *dispatcher_; }
  const FirmwareCatalog& catalog() const { return *catalog_; }
  const BoardConfig& board() const { return board_; }

  // The state after this boot (call after run()).
  PersistentState stateAfter() const;
  nlohmann::json summary() const;
  void writeOutputs(const std::filesystem::path& dir) const;
  const BootResult& result() const { return result_; }

private:
  void install(const std::string& ppi);
  void applyBoard(const PersistentState& state);

  BoardConfig board_;
  BootOptions options_;
  PersistentState stateIn_;
  std::unique_ptr<Machine> machine_;
  std::unique_ptr<EventLog> events_;
  std::unique_ptr<Chipset> chipset_;
  Ast2500* video_ = nullptr;
  std::unique_ptr<Cpld> cpld_;
  std::unique_ptr<DiagnosisBoot> diagnosis_;
  std::unique_ptr<SpiFlash> flash_;
  std::unique_ptr<PchSpiFlashPpi> spiFlashPpi_;
  std::unique_ptr<BoardNvram> nvram_;
  std::unique_ptr<Bmc> bmc_;
  std::unique_ptr<QuickTransferResponder> quickTransfer_;
  std::unique_ptr<Platform> platform_;
  std::unique_ptr<ReferenceCode> refCode_;
  std::unique_ptr<PeiCore> core_;
  std::unique_ptr<FirmwareCatalog> catalog_;
  std::unique_ptr<Dispatcher> dispatcher_;
  std::vector<std::string> installed_;
  bool started_ = false;
  bool peiEnded_ = false;
  BootResult result_;
};

}  // namespace zub
