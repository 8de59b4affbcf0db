// The board file: JSON describing what varies between boards (see the README for every
// key). Parsing is strict: an unknown key, a wrong type or a value out of range raises
// BoardFileError naming the key. The embedded default board is used when none is given.
#pragma once
#include <filesystem>
#include <string>

#include "BoardConfig.h"
#include "JsonReader.h"

namespace zub {

BoardConfig parseBoard(const nlohmann::json& root);
BoardConfig parseBoardText(const std::string& text, const std::string& origin);   // JSON syntax errors too
BoardConfig loadBoardFile(const std::filesystem::path& path);
const std::string& defaultBoardText();
BoardConfig defaultBoard();

// Boards that start from the default board and change a few keys (tests, scenarios):
// objects are merged key by key, everything else replaced.
BoardConfig boardWith(const nlohmann::json& changes);
nlohmann::json mergeBoard(nlohmann::json base, const nlohmann::json& changes);

}  // namespace zub
