#include "BoardDevices.h"

#include "Machine/EventLog.h"

namespace zub {

ChipsetConfig chipsetConfigFor(const BoardConfig& board, ResetKind reset) {
  ChipsetConfig c;
  c.cmos.startTime = board.rtc.startEpoch;
  c.cmos.binary = board.rtc.binary;
  c.cmos.hour24 = board.rtc.hour24;
  c.cmos.registerD = board.rtc.registerD;
  for (auto [i, v] : board.cmosStandard) c.cmos.bytes[i] = v;
  for (auto [i, v] : board.cmosUpper) c.cmos.bytes[uint8_t(0x80 | i)] = v;
  c.pmc.powerFailure = reset == ResetKind::Ac;
  if (board.behindRootPort) {
    c.behindRootPort = *board.behindRootPort;
  } else {
    c.behindRootPort = defaultVideoPath();
    c.behindRootPort[0].children[0].barSizes[0] = board.videoMemoryMb << 20;
  }
  c.moreOnBus0 = board.moreOnBus0;
  return c;
}

void restoreChipsetState(Chipset& chipset, const PersistentState& state) {
  if (!state.cmos.empty() && !chipset.cmos.load(state.cmos))
    throw std::runtime_error("state file cmos.bin has the wrong size");
}

void saveChipsetState(Chipset& chipset, PersistentState& state) { state.cmos = chipset.cmos.save(); }

nlohmann::json cmosSummary(Chipset& chipset) {
  auto image = chipset.cmos.image();
  return {{"standard", hexString(image.data(), 128)}, {"upper", hexString(image.data() + 128, 128)}};
}

}  // namespace zub
