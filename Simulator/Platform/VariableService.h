// The read-only variable service. Variables come from a backend: the board's list for
// now; the NVRAM store in flash can take its place without the modules noticing.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <PiPei.h>
#include <Ppi/ReadOnlyVariable2.h>

namespace zub {

struct Variable {
  std::u16string name;
  EFI_GUID guid{};
  uint32_t attributes = 7;   // NV + BS + RT
  std::vector<uint8_t> data;
};

class VariableService {
public:
  using Backend = std::function<std::optional<Variable>(const std::u16string& name, const EFI_GUID& guid)>;
  VariableService();
  void setBackend(Backend backend) { backend_ = std::move(backend); }
  void setVariables(std::vector<Variable> variables);   // the board's list as the backend
  const EFI_PEI_READ_ONLY_VARIABLE2_PPI* ppi() const { return &ppi_; }
  static VariableService* current;

  EFI_STATUS get(const CHAR16* name, const EFI_GUID* guid, UINT32* attributes, UINTN* size, void* data);

private:
  Backend backend_;
  std::vector<Variable> variables_;
  EFI_PEI_READ_ONLY_VARIABLE2_PPI ppi_{};
};

}  // namespace zub
