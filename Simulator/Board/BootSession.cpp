#include "BootSession.h"

#include <cctype>
#include <fstream>

#include <Guid/StatusCodeDataTypeId.h>
#include <Ppi/EndOfPeiPhase.h>
#include <Ppi/MemoryDiscovered.h>

#include "BoardDevices.h"
#include "Bmc/DylDecoder.h"
#include "Devices/Ast2500.h"
#include "Devices/Ast2500Screen.h"
#include "Devices/Cpld.h"
#include "Outside/DiagnosisBoot.h"
#include "Devices/SpiFlash.h"
#include "BoardNvram.h"
#include "Platform/PchSpiFlashPpi.h"
#include "Platform/DebugLogWindow.h"
#include "Foundation/Guid.h"
#include <ZubPcdTokens.h>

namespace zub {

namespace {
constexpr UINTN kLast = EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST;
EFI_PEI_PPI_DESCRIPTOR gMemoryDiscovered = {kLast, &gEfiPeiMemoryDiscoveredPpiGuid, nullptr};
EFI_PEI_PPI_DESCRIPTOR gEndOfPei = {kLast, &gEfiEndOfPeiSignalPpiGuid, nullptr};

// The default timeline: modules, memory, the SPI flash service, modules, end of PEI.
std::vector<TimelineStep> defaultTimeline() {
  TimelineStep dispatch;
  TimelineStep memory{TimelineStep::Kind::Install};
  memory.ppi = "memory-discovered";
  TimelineStep spiFlash{TimelineStep::Kind::Install};
  spiFlash.ppi = "spi-flash";
  return {dispatch, memory, spiFlash, dispatch};
}
}  // namespace

namespace {
// The files pushed to the BMC, byte for byte. Names come from the firmware: only a plain
// file name is used, anything else is replaced.
void writeBmcFiles(const std::vector<Bmc::ReceivedFile>& files, const std::filesystem::path& dir) {
  if (files.empty()) return;
  std::filesystem::create_directories(dir);
  for (const auto& f : files) {
    std::string name = f.name;
    for (char& c : name)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-')) c = '_';
    if (name.empty() || name == "." || name == "..") name = "unnamed";
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(f.bytes.data()),
                                                      static_cast<std::streamsize>(f.bytes.size()));
  }
}
}  // namespace

BootSession::BootSession(const BoardConfig& board, const PersistentState& state, BootOptions options)
    // The flash and video memory images of the state are taken straight from `state`;
    // stateAfter() reads them back from the devices.
    : board_(board), options_(std::move(options)), stateIn_{state.cmos, {}, {}, state.boots, state.lastEnd, state.flashOperations} {
  machine_ = std::make_unique<Machine>();
  events_ = std::make_unique<EventLog>(machine_->clock);
  chipset_ = std::make_unique<Chipset>(*machine_, chipsetConfigFor(board_, options_.reset),
                                       PciModelFactories{{"ast2500", ast2500Factory(board_.videoMemoryMb << 20, &video_)}});
  restoreChipsetState(*chipset_, state);
  // Video memory keeps its content across warm and cold resets; an AC power loss clears it.
  if (video_ && options_.reset != ResetKind::Ac && !state.vram.empty())
    std::copy_n(state.vram.begin(), std::min<size_t>(state.vram.size(), video_->videoMemorySize()), video_->videoMemory());
  // The BMC leaves its values in the volatile store before the host starts.
  if (video_) writeBmcVolatileSlots(video_->videoMemory(), video_->videoMemorySize(), board_.bmc.volatileSlots);
  chipset_->postPorts.setObserver([this](uint16_t port, uint8_t value) {
    events_->add("post_code", {{"port", hex8(port)}, {"value", hex8(value)}});
  });
  bmc_ = std::make_unique<Bmc>(board_.bmc, *events_, machine_->clock);
  installDylDecoder(*bmc_);
  serveBootOptions(*bmc_, board_.bmcBootOptions);
  platform_ = std::make_unique<Platform>(*bmc_);
  refCode_ = std::make_unique<ReferenceCode>(board_.refCode);
  writeMemoryTestData(board_.memory, *refCode_);
  writeWarningLog(refCode_->sysHost(), board_.warningLog);
  // The BMC finds the mailboxes at the top of the aperture the firmware programmed.
  quickTransfer_ = std::make_unique<QuickTransferResponder>(*bmc_, machine_->memory, [this] {
    return VideoAperture{platform_->pcd.number(PcdZubVgaMemoryBase_TOKEN), platform_->pcd.number(PcdZubVgaMemorySize_TOKEN)};
  });
  quickTransfer_->install();
  attachDebugLogWindow(platform_->debug, *machine_, platform_->pcd);
  core_ = std::make_unique<PeiCore>(*machine_, *events_);
  catalog_ = std::make_unique<FirmwareCatalog>(options_.firmwareDir);
  core_->setGuidNames([this](const EFI_GUID& g) { return catalog_->nameOf(g); });
  dispatcher_ = std::make_unique<Dispatcher>(*catalog_, *core_, *machine_, board_.modules, board_.dispatchOrder);
  applyBoard(state);
  // The CPLD answers at the base the firmware's PCD names, once the LPC window is open.
  cpld_ = std::make_unique<Cpld>(*chipset_, uint32_t(platform_->pcd.number(PcdZubLpcCpldBase_TOKEN)), board_.cpld.registers);
  machine_->memory.add(cpld_.get());
  // The outside firmware a diagnosis relies on: device disabling, memory reference code, later firmware.
  diagnosis_ = std::make_unique<DiagnosisBoot>(*machine_, *events_, chipset_->cmos, *cpld_, board_.topology, board_.faults);
  // The flash keeps what the last boot left; a board never booted starts from its image.
  if (!state.flash.empty() && state.flash.size() != (size_t(board_.flash.biosRegionMb) << 20))
    throw std::runtime_error("state file flash.bin does not match the board's BIOS region size");
  // (Not a conditional expression: its const operand would make the fresh image a copy.)
  std::vector<uint8_t> flashImage;
  if (state.flash.empty()) flashImage = freshFlashImage(board_);
  else flashImage = state.flash;
  flash_ = std::make_unique<SpiFlash>(*machine_, std::move(flashImage));
  // The board's power loss comes once in the life of a state: at its N-th flash operation.
  uint64_t boardLoss = board_.flash.powerLossAtOp > state.flashOperations ? board_.flash.powerLossAtOp - state.flashOperations : 0;
  flash_->armPowerLoss(options_.powerLossAtFlashOp.value_or(uint32_t(boardLoss)));
  spiFlashPpi_ = std::make_unique<PchSpiFlashPpi>(*flash_, chipset_->spi, *events_);
  nvram_ = std::make_unique<BoardNvram>(board_, *events_);
  publishFirmwareVolumes(*core_, *flash_);
}

BootSession::~BootSession() {
  dispatcher_->unloadAll();
  core_->deactivate();
}

void BootSession::applyBoard(const PersistentState&) {
  machine_->cpuid = board_.cpuid;
  for (const auto& o : board_.pcds) {
    if (o.isText) platform_->pcd.setBytes(o.token, o.bytes);
    else platform_->pcd.setNumber(o.token, o.number);
  }
  platform_->variables.setVariables(board_.nvram);
}

void BootSession::start() {
  if (started_) return;
  started_ = true;
  core_->activate();
  platform_->activate();
  spiFlashPpi_->activate();
  refCode_->publish(*machine_);
  events_->add("boot_start", {{"board", board_.name}, {"boot", options_.bootNumber},
                              {"reset", resetKindName(options_.reset)}});
  platform_->installEarlyServices(*core_);
  nvram_->start(*core_, *flash_);
  bool timelineInstallsIpmi = false;
  for (const auto& s : board_.timeline)
    if (s.kind == TimelineStep::Kind::Install && s.ppi == "ipmi-transport") timelineInstallsIpmi = true;
  if (!timelineInstallsIpmi) install("ipmi-transport");
}

void BootSession::install(const std::string& ppi) {
  if (std::find(installed_.begin(), installed_.end(), ppi) != installed_.end()) return;
  installed_.push_back(ppi);
  if (ppi == "memory-discovered") {
    diagnosis_->memoryInit();   // may end the boot: a fatal memory error
    refCode_->publishHob(*core_);   // the reference code hands its table on once memory exists
    core_->installPpi(&gMemoryDiscovered);
  }
  else if (ppi == "ipmi-transport") platform_->installIpmiTransport(*core_);
  else if (ppi == "spi-flash") core_->installPpi(spiFlashPpi_->descriptor());
  else if (ppi == "end-of-pei") core_->installPpi(&gEndOfPei);
}

void BootSession::reportStatusCode(uint32_t type, uint32_t value, const std::vector<uint8_t>& payload, bool withData) {
  if (!withData) {
    core_->reportStatusCode(type, value, 0, nullptr, nullptr);
    return;
  }
  std::vector<uint8_t> block(sizeof(EFI_STATUS_CODE_DATA) + payload.size());
  auto* h = reinterpret_cast<EFI_STATUS_CODE_DATA*>(block.data());
  h->HeaderSize = sizeof(EFI_STATUS_CODE_DATA);
  h->Size = static_cast<UINT16>(payload.size());
  h->Type = gEfiStatusCodeSpecificDataGuid;
  std::copy(payload.begin(), payload.end(), block.begin() + sizeof(EFI_STATUS_CODE_DATA));
  core_->reportStatusCode(type, value, 0, nullptr, h);
}

void BootSession::reportStatusCode(uint32_t value, const std::string& text) {
  std::vector<uint8_t> payload(text.begin(), text.end());
  payload.push_back(0);
  reportStatusCode(EFI_PROGRESS_CODE, value, payload);
}

void BootSession::runStep(const TimelineStep& step) {
  switch (step.kind) {
    case TimelineStep::Kind::Dispatch: dispatcher_->dispatchReady(); break;
    case TimelineStep::Kind::StatusCode:
      for (uint32_t i = 0; i < step.repeat; ++i) reportStatusCode(step.codeType, step.codeValue, step.payload, step.withData);
      break;
    case TimelineStep::Kind::Install:
      if (step.ppi == "end-of-pei") finishPei();
      else install(step.ppi);
      break;
    case TimelineStep::Kind::Wait: machine_->clock.advance(step.waitNs); break;
    case TimelineStep::Kind::IioInit: runIioInitialisation(*core_, *events_, board_.iioData); break;
  }
}

void BootSession::finishPei() {
  if (peiEnded_) return;
  dispatcher_->dispatchReady();
  peiEnded_ = true;
  install("end-of-pei");
  events_->add("end_of_pei", {{"pending", dispatcher_->pending()}});
}

BootResult BootSession::run() {
  start();
  try {
    const auto steps = board_.timeline.empty() ? defaultTimeline() : board_.timeline;
    for (const auto& s : steps) runStep(s);
    finishPei();
    diagnosis_->afterPei();   // the later firmware: success, or a hang the watchdog resets
    result_ = {BootEndKind::Completed, "PEI completed", machine_->clock.nowNs()};
  } catch (const BootEnd& end) {
    result_ = {end.kind, end.detail, machine_->clock.nowNs()};
  }
  events_->add("boot_end", {{"ended", bootEndName(result_.end)}, {"detail", result_.detail}});
  return result_;
}

PersistentState BootSession::stateAfter() const {
  PersistentState s = stateIn_;
  saveChipsetState(*chipset_, s);
  s.flash = flash_->image();
  s.flashOperations = stateIn_.flashOperations + flash_->operations();
  if (video_) s.vram.assign(video_->videoMemory(), video_->videoMemory() + video_->videoMemorySize());
  s.boots = stateIn_.boots + 1;
  s.lastEnd = bootEndName(result_.end);
  return s;
}

nlohmann::json BootSession::summary() const {
  nlohmann::json j;
  j["board"] = board_.name;
  j["boot"] = options_.bootNumber;
  j["reset"] = resetKindName(options_.reset);
  j["ended"] = bootEndName(result_.end);
  j["detail"] = result_.detail;
  j["virtual_time_ns"] = result_.virtualNs;
  nlohmann::json modules = nlohmann::json::array();
  for (const auto& r : dispatcher_->records()) {
    nlohmann::json m = {{"name", r.module}, {"status", hex32(r.status)}, {"entry_start_ns", r.startNs},
                        {"entry_end_ns", r.endNs}};
    auto it = machine_->stats().find(r.module);
    if (it != machine_->stats().end()) {
      const AccessStats& s = it->second;
      m["virtual_ns"] = s.virtualNs;
      m["port_reads"] = s.portReads, m["port_writes"] = s.portWrites;
      m["mmio_reads"] = s.mmioReads, m["mmio_writes"] = s.mmioWrites, m["maps"] = s.maps;
    }
    modules.push_back(m);
  }
  j["modules"] = modules;
  j["not_dispatched"] = dispatcher_->pending();
  nlohmann::json pcds = nlohmann::json::object();
  for (const auto& d : pcdDefinitions()) {
    if (d.type == PcdType::Ptr) {
      const auto& b = platform_->pcd.bytes(d.token);
      bool text = platform_->pcd.size(d.token) > 0 && d.defaultText != nullptr;
      pcds[d.name] = text ? nlohmann::json(platform_->pcd.text(d.token))
                          : nlohmann::json(hexString(b.data(), platform_->pcd.size(d.token)));
    } else {
      pcds[d.name] = platform_->pcd.number(d.token);
    }
  }
  j["pcds"] = pcds;
  j["pcd_misuses"] = platform_->pcd.misuses();
  j["assertions"] = platform_->debug.assertions();
  j["cmos"] = cmosSummary(*chipset_);
  nlohmann::json hobs = nlohmann::json::array();
  for (const auto& [type, bytes] : core_->hobs().entries()) {
    nlohmann::json h = {{"type", type}, {"length", bytes.size()}};
    if (type == EFI_HOB_TYPE_GUID_EXTENSION && bytes.size() >= sizeof(EFI_HOB_GUID_TYPE)) {
      const auto* g = reinterpret_cast<const EFI_HOB_GUID_TYPE*>(bytes.data());
      h["name"] = core_->guidName(g->Name);
      h["data"] = hexString(bytes.data() + sizeof(EFI_HOB_GUID_TYPE), bytes.size() - sizeof(EFI_HOB_GUID_TYPE));
    }
    hobs.push_back(h);
  }
  j["hobs"] = hobs;
  return j;
}

void BootSession::writeOutputs(const std::filesystem::path& dir) const {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "debug.log", std::ios::binary) << platform_->debug.log();
  std::ofstream(dir / "events.jsonl", std::ios::binary) << events_->toJsonLines();
  std::ofstream(dir / "summary.json", std::ios::binary) << summary().dump(2) << "\n";
  writeBmcFiles(bmc_->receivedFiles(), dir / "bmc");
  std::vector<uint32_t> screen = video_ ? scanOutScreen(*video_) : std::vector<uint32_t>(kScreenWidth * kScreenHeight);
  writeScreenPng(dir / "screen.png", screen);
  std::ofstream(dir / "screen.txt", std::ios::binary) << readScreenText(screen);
}

}  // namespace zub
