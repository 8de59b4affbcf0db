// The board file's "warning_log" section: the entries of the reference code's enhanced
// warning log, by fields or byte for byte, an optional used-size override, and the memory
// warning byte that follows the log area.
#pragma once

namespace zub {

class JsonReader;
struct BoardConfig;

// Reads "warning_log" from the board file's root object.
void parseBoardWarningLog(JsonReader& root, BoardConfig& board);

}  // namespace zub
