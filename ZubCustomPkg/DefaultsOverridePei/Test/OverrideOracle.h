// The override data written out the way the setup tables are read by people: ranges and
// lists per variable. The tests expand them on their own and compare with what the module
// wrote, so that the module's tables are checked against a second, independent spelling.
#pragma once
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace zub::defaultstest {

// "3, 5-7" -> 3 5 6 7
inline std::vector<unsigned> expandList(const std::string& text) {
  std::vector<unsigned> out;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, ',');) {
    unsigned a = 0, b = 0;
    char dash = 0;
    std::stringstream p(part);
    p >> a;
    if (p >> dash >> b) {
      for (unsigned i = a; i <= b; ++i) out.push_back(i);
    } else {
      out.push_back(a);
    }
  }
  return out;
}

struct SetupItem {
  std::string variable;
  unsigned offset;
};

// SetupId -> variable and offset.
inline std::vector<SetupItem> setupItems() {
  const std::pair<const char*, const char*> groups[] = {
      {"FixedBootPriorities", "1"},
      {"Setup", "200, 184, 183, 178-182, 250, 30"},
      {"ZubSmbiosConfig", "6, 0-5, 7"},
      {"ZubMiscCfg", "1-4"},
      {"ZubSecurityCfg", "0, 1"},
      {"ZubSocketSetup", "0"},
      {"ZubPlatformSetup", "2, 3"},
      {"ZubBootConfiguration", "0-4"},
      {"ZubMediaBootOrder", "2, 3, 10, 4-9, 11-14"},
      {"NetworkStackVar", "1, 2, 8, 6, 7, 3, 5"},
      {"ZubNetworkSetup", "0"},
      {"ServerSetup", "26, 25, 23"},
      {"SocketIioConfig", "3419-3490, 3699-3710, 3775, 3779, 3489, 3490, 7849-7852, 7861-7868, 7870-7877, 7882-7889"},
      {"MeRcConfiguration", "27"},
      {"SocketIioConfig", "0, 5829, 5997, 6081, 6165, 110, 7174, 7190, 7199, 7342, 7358, 7367, 8128, 8144, 8153"},
      {"UsbSupport", "1"},
      {"SecureBootSetup", "0"},
      {"SocketCommonRcConfig", "9, 8, 4"},
      {"SocketMpLinkConfig", "25, 28, 16, 17, 14, 29"},
      {"SocketMemoryConfig", "168"},
      {"ZubCustomInfo", "0"},
      {"SocketMemoryConfig", "171, 176, 172, 178, 34, 33, 42, 47, 46, 160, 227, 32, 7"},
      {"SocketPowerManagementConfig", "4, 82, 50, 54, 24, 79, 12, 52, 53, 81, 82, 58, 84, 71"},
      {"SocketProcessorCoreConfig", "29, 28, 36, 2, 8-11, 1, 13"},
      {"IntelSetup", "151, 147, 321, 542, 543, 121, 122, 125, 83"},
      {"PchSetup", "198, 280, 55-64"},
  };
  std::vector<SetupItem> items;
  for (const auto& [variable, offsets] : groups)
    for (unsigned o : expandList(offsets)) items.push_back({variable, o});
  return items;
}

// "141=26, 101-104=1" -> (SetupId, value) in order.
inline std::vector<std::pair<unsigned, uint8_t>> expandSet(const std::string& text) {
  std::vector<std::pair<unsigned, uint8_t>> out;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, ',');) {
    size_t eq = part.find('=');
    unsigned value = unsigned(std::stoul(part.substr(eq + 1)));
    for (unsigned id : expandList(part.substr(0, eq))) out.emplace_back(id, uint8_t(value));
  }
  return out;
}

inline const std::map<unsigned, std::string>& hardwareSets() {
  static const std::map<unsigned, std::string> sets = {
      {9, "141=26, 142=26, 61=1, 62=1, 65=1, 67=1, 68=1, 133=1, 134=1, 137=1, 139=1, 140=1, 97=1, 101-104=1, 113=1, "
          "121-128=1, 211=0, 30=0"},
      {14, "145-172=0"},
      {15, "145-172=0"},
  };
  return sets;
}

inline const std::map<unsigned, std::string>& customerSets() {
  static const std::map<unsigned, std::string> sets = {
      {1, "219=0, 216=7, 19=1, 208=1, 206=0, 207=20, 209=23, 210=22, 213=2, 20=0, 232=1, 174=1, 215=1, 233-236=1, "
          "221=0, 218=0, 223=0, 217=0, 198=1, 196=0, 197=0, 194=0, 212=0, 14=2, 241-243=1, 46=1, 47=0, 49=0, 50=0, "
          "53=0, 28=1, 0=0, 3=1, 2=1, 4=7, 8=0, 5=8, 6=1, 7=1, 240=0, 9=1, 15=1, 11=2, 226=1, 36=4, 37=0, 38=1, 39=2, "
          "40=3, 41=5"},
      {2, "20=1, 246=0"},
      {3, "20=0, 0=0, 194=0, 53=0, 223=0, 217=0, 2=0, 28=1, 221=0, 206=4, 207=0, 20=0"},
      {8, "0=0, 28=1, 195=0, 199=1, 214=1, 227=2, 2=3, 250-259=0, 247=1, 20=0"},
      {10, "56=0, 10=1, 193=4"},
      {12, "219=1, 220=1, 225=7, 217=0, 218=0, 215=1, 228=0, 237=0, 191=1, 224=0, 53=0, 226=0, 179=1, 57-80=0, 47=1, "
           "48=1, 238=0, 244=1, 245=1, 246=0, 20=1"},
  };
  return sets;
}

}  // namespace zub::defaultstest
