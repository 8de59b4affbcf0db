// From the board configuration and the persistent state to the chipset's configuration,
// and from the chipset back to the state and the outputs.
#pragma once
#include <filesystem>

#include <nlohmann/json.hpp>

#include "BoardConfig.h"
#include "Devices/Chipset.h"
#include "PersistentState.h"

namespace zub {

ChipsetConfig chipsetConfigFor(const BoardConfig& board, ResetKind reset);
// Restores battery-backed CMOS from the state (when it holds one).
void restoreChipsetState(Chipset& chipset, const PersistentState& state);
void saveChipsetState(Chipset& chipset, PersistentState& state);
nlohmann::json cmosSummary(Chipset& chipset);

}  // namespace zub
