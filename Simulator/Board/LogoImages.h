// The board's logo pictures: small 24-bit BMP files drawn from the console font, for the
// built-in logo files of the firmware volume and for the customer logo set the BMC holds.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zub {

struct BmcConfig;

// A bottom-up 24-bit BMP (BITMAPINFOHEADER) of w x h pixels; pixel(x, y) with y = 0 at the
// top gives 0x00RRGGBB.
std::vector<uint8_t> bmp24(unsigned width, unsigned height, const std::function<uint32_t(unsigned, unsigned)>& pixel);

// `text` in the console font, scaled, in `foreground` on `background`, with a frame.
std::vector<uint8_t> textLogo(const std::string& text, uint32_t background, uint32_t foreground, unsigned scale);

// The names of the customer logo set, in slot order (early, post, quiet).
const std::vector<std::string>& customerLogoNames();
// Adds the customer logo set to the BMC's files, except names the board file gave itself.
void addCustomerLogos(BmcConfig& bmc);

}  // namespace zub
