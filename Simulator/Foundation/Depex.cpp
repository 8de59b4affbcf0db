#include "Depex.h"

#include <sstream>
#include <stdexcept>
#include <vector>

namespace zub {

Depex::Depex(const std::string& expression, const std::map<std::string, EFI_GUID>& guids) : text_(expression) {
  std::string spaced;
  for (char c : expression) {
    if (c == '(' || c == ')') spaced += std::string(" ") + c + " ";
    else spaced += c;
  }
  std::istringstream in(spaced);
  std::vector<Token> ops;
  auto precedence = [](Token::Kind k) { return k == Token::Not ? 3 : k == Token::And ? 2 : k == Token::Or ? 1 : 0; };
  std::string word;
  while (in >> word) {
    if (word == "AND" || word == "OR" || word == "NOT") {
      Token::Kind k = word == "AND" ? Token::And : word == "OR" ? Token::Or : Token::Not;
      while (!ops.empty() && ops.back().kind != Token::Open && k != Token::Not &&
             precedence(ops.back().kind) >= precedence(k)) {
        rpn_.push_back(ops.back());
        ops.pop_back();
      }
      ops.push_back({k});
    } else if (word == "(") {
      ops.push_back({Token::Open});
    } else if (word == ")") {
      while (!ops.empty() && ops.back().kind != Token::Open) {
        rpn_.push_back(ops.back());
        ops.pop_back();
      }
      if (ops.empty()) throw std::runtime_error("unbalanced ')' in depex: " + expression);
      ops.pop_back();
    } else if (word == "TRUE" || word == "FALSE") {
      rpn_.push_back({word == "TRUE" ? Token::True : Token::False});
    } else {
      auto it = guids.find(word);
      if (it == guids.end()) throw std::runtime_error("unknown GUID '" + word + "' in depex: " + expression);
      rpn_.push_back({Token::Guid, it->second});
    }
  }
  while (!ops.empty()) {
    if (ops.back().kind == Token::Open) throw std::runtime_error("unbalanced '(' in depex: " + expression);
    rpn_.push_back(ops.back());
    ops.pop_back();
  }
  // Check arity once, so evaluate() cannot underflow.
  int depth = 0;
  for (const Token& t : rpn_) {
    if (t.kind == Token::And || t.kind == Token::Or) depth -= 1;
    else if (t.kind != Token::Not) depth += 1;
    if (depth < 1) throw std::runtime_error("malformed depex: " + expression);
  }
  if (!rpn_.empty() && depth != 1) throw std::runtime_error("malformed depex: " + expression);
}

bool Depex::evaluate(const std::function<bool(const EFI_GUID&)>& installed) const {
  std::vector<bool> stack;
  for (const Token& t : rpn_) {
    switch (t.kind) {
      case Token::Guid: stack.push_back(installed(t.guid)); break;
      case Token::True: stack.push_back(true); break;
      case Token::False: stack.push_back(false); break;
      case Token::Not: stack.back() = !stack.back(); break;
      case Token::And:
      case Token::Or: {
        bool b = stack.back();
        stack.pop_back();
        stack.back() = t.kind == Token::And ? (stack.back() && b) : (stack.back() || b);
        break;
      }
      default: break;
    }
  }
  return stack.empty() || stack.back();
}

}  // namespace zub
