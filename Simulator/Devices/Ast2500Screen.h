// What the AST2500 shows: the 800x600 display as its scan-out reads video memory
// (black where the mode does not reach, or when the screen is off or never programmed),
// written as screen.png, and the 100x37 character grid read back from it with the
// console's code page 437 font, written as screen.txt.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Ast2500.h"

namespace zub {

inline constexpr unsigned kScreenWidth = 800, kScreenHeight = 600;

// 800x600 pixels, 0x00RRGGBB, top row first.
std::vector<uint32_t> scanOutScreen(Ast2500& video);
void writeScreenPng(const std::filesystem::path& path, const std::vector<uint32_t>& pixels);

// 37 lines of 100 cells (trailing blanks dropped): a cell of two colours that matches a
// glyph shows it (printable ASCII as itself, any other code as '?'); one colour is a blank.
// After a blank line, each run of cells whose text colour is not white:
// "row R col C-C2 color 0xRRGGBB".
std::string readScreenText(const std::vector<uint32_t>& pixels);

}  // namespace zub
