#include "Guid.h"

#include <cstdio>
#include <cstring>
#include <regex>

namespace zub {

bool operator==(const EFI_GUID& a, const EFI_GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string guidToString(const EFI_GUID& g) {
  char b[40];
  std::snprintf(b, sizeof b, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return b;
}

std::optional<EFI_GUID> guidFromString(const std::string& text) {
  static const std::regex re(
      "^([0-9A-Fa-f]{8})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{4})-([0-9A-Fa-f]{12})$");
  std::smatch m;
  if (!std::regex_match(text, m, re)) return std::nullopt;
  EFI_GUID g{};
  g.Data1 = static_cast<UINT32>(std::stoul(m[1], nullptr, 16));
  g.Data2 = static_cast<UINT16>(std::stoul(m[2], nullptr, 16));
  g.Data3 = static_cast<UINT16>(std::stoul(m[3], nullptr, 16));
  std::string tail = m[4].str() + m[5].str();
  for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<UINT8>(std::stoul(tail.substr(2 * i, 2), nullptr, 16));
  return g;
}

std::optional<EFI_GUID> guidFromCInitializer(const std::string& text) {
  static const std::regex num("0[xX][0-9A-Fa-f]+");
  std::vector<unsigned long long> v;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), num); it != std::sregex_iterator(); ++it)
    v.push_back(std::stoull(it->str(), nullptr, 16));
  if (v.size() != 11) return std::nullopt;
  EFI_GUID g{};
  g.Data1 = static_cast<UINT32>(v[0]);
  g.Data2 = static_cast<UINT16>(v[1]);
  g.Data3 = static_cast<UINT16>(v[2]);
  for (int i = 0; i < 8; ++i) g.Data4[i] = static_cast<UINT8>(v[3 + i]);
  return g;
}

}  // namespace zub
