#include "VariableService.h"

#include <cstring>

#include "Foundation/Guid.h"

namespace zub {

VariableService* VariableService::current = nullptr;

VariableService::VariableService() {
  ppi_.GetVariable = [](const EFI_PEI_READ_ONLY_VARIABLE2_PPI*, const CHAR16* name, const EFI_GUID* guid,
                        UINT32* attributes, UINTN* size, VOID* data) -> EFI_STATUS {
    return current->get(name, guid, attributes, size, data);
  };
  ppi_.NextVariableName = [](const EFI_PEI_READ_ONLY_VARIABLE2_PPI*, UINTN*, CHAR16*, EFI_GUID*) -> EFI_STATUS {
    return EFI_UNSUPPORTED;
  };
}

void VariableService::setVariables(std::vector<Variable> variables) {
  variables_ = std::move(variables);
  backend_ = [this](const std::u16string& name, const EFI_GUID& guid) -> std::optional<Variable> {
    for (const auto& v : variables_)
      if (v.name == name && v.guid == guid) return v;
    return std::nullopt;
  };
}

EFI_STATUS VariableService::get(const CHAR16* name, const EFI_GUID* guid, UINT32* attributes, UINTN* size, void* data) {
  if (!name || !guid || !size) return EFI_INVALID_PARAMETER;
  std::u16string n;
  for (size_t i = 0; name[i] && i < 1024; ++i) n += name[i];
  std::optional<Variable> v = backend_ ? backend_(n, *guid) : std::nullopt;
  if (!v) return EFI_NOT_FOUND;
  if (*size < v->data.size()) {
    *size = v->data.size();
    return EFI_BUFFER_TOO_SMALL;
  }
  if (!data && !v->data.empty()) return EFI_INVALID_PARAMETER;
  if (!v->data.empty()) std::memcpy(data, v->data.data(), v->data.size());
  *size = v->data.size();
  if (attributes) *attributes = v->attributes;
  return EFI_SUCCESS;
}

}  // namespace zub
