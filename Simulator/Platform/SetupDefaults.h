// The setup defaults the platform keeps in its NVRAM store: the "StdDefaults" variable,
// whose data is a nested store with one record per setup variable, and the identity
// (ZubCustomInfo: OEM flag, customer ID, hardware type) it was prepared for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "NvarStore.h"

namespace zub {

struct SetupVariableSize {
  const char* name;
  uint16_t size;
};
// The setup variables whose defaults "StdDefaults" holds, with their default-data sizes.
const std::vector<SetupVariableSize>& setupDefaultVariables();

struct SetupIdentity {
  uint8_t oemFlag = 0, customId = 0, hwType = 0;
};

struct SetupDefaultsOptions {
  SetupIdentity identity;
  uint8_t fill = 0xA5;                 // every default byte but the identity
  std::vector<std::string> omit;       // variables left out
};

// One record per setup variable, in table order; ZubCustomInfo carries the identity.
std::vector<NvarRecord> setupDefaultRecords(const SetupDefaultsOptions& options);

}  // namespace zub
