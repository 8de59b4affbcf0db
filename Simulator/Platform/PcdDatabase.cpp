#include "PcdDatabase.h"

#include <cstring>

namespace zub {

PcdDatabase* PcdDatabase::current = nullptr;

const PcdDefinition* findPcd(const std::string& name) {
  for (const auto& d : pcdDefinitions())
    if (name == d.name) return &d;
  return nullptr;
}

const PcdDefinition* findPcd(uint32_t token) {
  for (const auto& d : pcdDefinitions())
    if (token == d.token) return &d;
  return nullptr;
}

const char* pcdTypeName(PcdType type) {
  switch (type) {
    case PcdType::U8: return "UINT8";
    case PcdType::U16: return "UINT16";
    case PcdType::U32: return "UINT32";
    case PcdType::U64: return "UINT64";
    case PcdType::Bool: return "BOOLEAN";
    case PcdType::Ptr: return "VOID*";
  }
  return "?";
}

namespace {
uint64_t maskFor(PcdType t) {
  switch (t) {
    case PcdType::U8: return 0xFF;
    case PcdType::U16: return 0xFFFF;
    case PcdType::U32: return 0xFFFFFFFF;
    case PcdType::Bool: return 1;
    default: return ~uint64_t(0);
  }
}
PcdDatabase& db() { return *PcdDatabase::current; }
}  // namespace

PcdDatabase::PcdDatabase() {
  for (const auto& d : pcdDefinitions()) {
    Slot s{&d};
    s.value = d.defaultValue & maskFor(d.type);
    if (d.type == PcdType::Ptr) {
      s.storage.assign(d.maxSize, 0);
      if (d.defaultText) {
        size_t n = std::min<size_t>(std::strlen(d.defaultText) + 1, d.maxSize);
        std::memcpy(s.storage.data(), d.defaultText, n);
        s.size = n;
      }
    }
    slots_.emplace(d.token, std::move(s));
  }
  ppi_.SetSku = [](UINTN) {};
  ppi_.Get8 = [](UINTN t) -> UINT8 { return UINT8(db().get(uint32_t(t), PcdType::U8)); };
  ppi_.Get16 = [](UINTN t) -> UINT16 { return UINT16(db().get(uint32_t(t), PcdType::U16)); };
  ppi_.Get32 = [](UINTN t) -> UINT32 { return UINT32(db().get(uint32_t(t), PcdType::U32)); };
  ppi_.Get64 = [](UINTN t) -> UINT64 { return db().get(uint32_t(t), PcdType::U64); };
  ppi_.GetPtr = [](UINTN t) -> VOID* { return db().getPtr(uint32_t(t)); };
  ppi_.GetBool = [](UINTN t) -> BOOLEAN { return db().get(uint32_t(t), PcdType::Bool) ? TRUE : FALSE; };
  ppi_.GetSize = [](UINTN t) -> UINTN {
    const PcdDefinition* d = findPcd(uint32_t(t));
    if (!d) return 0;
    switch (d->type) {
      case PcdType::U8: case PcdType::Bool: return 1;
      case PcdType::U16: return 2;
      case PcdType::U32: return 4;
      case PcdType::U64: return 8;
      case PcdType::Ptr: return db().size(uint32_t(t));
    }
    return 0;
  };
  ppi_.Set8 = [](UINTN t, UINT8 v) -> EFI_STATUS { return db().set(uint32_t(t), PcdType::U8, v); };
  ppi_.Set16 = [](UINTN t, UINT16 v) -> EFI_STATUS { return db().set(uint32_t(t), PcdType::U16, v); };
  ppi_.Set32 = [](UINTN t, UINT32 v) -> EFI_STATUS { return db().set(uint32_t(t), PcdType::U32, v); };
  ppi_.Set64 = [](UINTN t, UINT64 v) -> EFI_STATUS { return db().set(uint32_t(t), PcdType::U64, v); };
  ppi_.SetPtr = [](UINTN t, UINTN* size, VOID* b) -> EFI_STATUS { return db().setPtr(uint32_t(t), size, b); };
  ppi_.SetBool = [](UINTN t, BOOLEAN v) -> EFI_STATUS { return db().set(uint32_t(t), PcdType::Bool, v ? 1 : 0); };
}

PcdDatabase::Slot* PcdDatabase::slot(uint32_t token, PcdType asType, const char* op) {
  auto it = slots_.find(token);
  if (it == slots_.end()) {
    misuses_.push_back(std::string(op) + " of unknown token " + std::to_string(token));
    return nullptr;
  }
  if (it->second.def->type != asType)
    misuses_.push_back(std::string(op) + " of " + it->second.def->name + " (" + pcdTypeName(it->second.def->type) +
                       ") as " + pcdTypeName(asType));
  return &it->second;
}

void PcdDatabase::setNumber(uint32_t token, uint64_t value) {
  auto& s = slots_.at(token);
  s.value = value & maskFor(s.def->type);
}

bool PcdDatabase::setBytes(uint32_t token, const std::vector<uint8_t>& bytes) {
  auto& s = slots_.at(token);
  if (bytes.size() > s.def->maxSize) return false;
  std::fill(s.storage.begin(), s.storage.end(), 0);
  std::copy(bytes.begin(), bytes.end(), s.storage.begin());
  s.size = bytes.size();
  return true;
}

uint64_t PcdDatabase::number(uint32_t token) const { return slots_.at(token).value; }
const std::vector<uint8_t>& PcdDatabase::bytes(uint32_t token) const { return slots_.at(token).storage; }
size_t PcdDatabase::size(uint32_t token) const { return slots_.at(token).size; }

std::string PcdDatabase::text(uint32_t token) const {
  const auto& s = slots_.at(token).storage;
  size_t n = 0;
  while (n < s.size() && s[n]) ++n;
  return std::string(s.begin(), s.begin() + long(n));
}

uint64_t PcdDatabase::get(uint32_t token, PcdType asType) {
  Slot* s = slot(token, asType, "Get");
  if (!s) return 0;
  return s->value & maskFor(asType);
}

void* PcdDatabase::getPtr(uint32_t token) {
  Slot* s = slot(token, PcdType::Ptr, "GetPtr");
  if (!s || s->def->type != PcdType::Ptr) return nullptr;
  return s->storage.data();
}

EFI_STATUS PcdDatabase::set(uint32_t token, PcdType asType, uint64_t value) {
  Slot* s = slot(token, asType, "Set");
  if (!s) return EFI_NOT_FOUND;
  if (s->def->type == PcdType::Ptr) return EFI_INVALID_PARAMETER;
  s->value = value & maskFor(s->def->type);
  return EFI_SUCCESS;
}

EFI_STATUS PcdDatabase::setPtr(uint32_t token, UINTN* size, const void* buffer) {
  Slot* s = slot(token, PcdType::Ptr, "SetPtr");
  if (!s) return EFI_NOT_FOUND;
  if (!size || s->def->type != PcdType::Ptr) return EFI_INVALID_PARAMETER;
  if (*size > s->def->maxSize) {
    *size = s->def->maxSize;   // as the PCD driver does: report what fits, change nothing
    return EFI_INVALID_PARAMETER;
  }
  if (*size && !buffer) return EFI_INVALID_PARAMETER;
  std::fill(s->storage.begin(), s->storage.end(), 0);
  if (*size) std::memcpy(s->storage.data(), buffer, *size);
  s->size = *size;
  return EFI_SUCCESS;
}

}  // namespace zub
