// Dependency expressions of the modules' [Depex] sections: GUID names combined with
// AND, OR, NOT, TRUE, FALSE and parentheses. A GUID term holds when a PPI of that GUID is
// installed. An empty expression always holds.
#pragma once
#include <functional>
#include <map>
#include <string>

#include <Uefi/UefiBaseType.h>

namespace zub {

class Depex {
public:
  // Throws std::runtime_error naming the module on a syntax error or an unknown GUID name.
  Depex(const std::string& expression, const std::map<std::string, EFI_GUID>& guids);
  bool evaluate(const std::function<bool(const EFI_GUID&)>& installed) const;
  const std::string& text() const { return text_; }

private:
  struct Token {
    enum Kind { Guid, And, Or, Not, True, False, Open, Close } kind;
    EFI_GUID guid{};
  };
  std::string text_;
  std::vector<Token> rpn_;   // postfix form
};

}  // namespace zub
