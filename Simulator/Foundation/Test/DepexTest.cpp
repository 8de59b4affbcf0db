#include <gtest/gtest.h>

#include "Foundation/Depex.h"

namespace zub {
namespace {

const std::map<std::string, EFI_GUID> kGuids = {{"gA", {1}}, {"gB", {2}}, {"gC", {3}}};

TEST(Depex, EvaluatesWithPrecedenceAndParentheses) {
  struct Case {
    const char* expr;
    std::set<uint32_t> installed;
    bool holds;
  } cases[] = {
      {"", {}, true},
      {"TRUE", {}, true},
      {"gA", {}, false},
      {"gA", {1}, true},
      {"gA AND gB", {1}, false},
      {"gA AND gB", {1, 2}, true},
      {"gA OR gB AND gC", {1}, true},          // AND binds tighter
      {"(gA OR gB) AND gC", {1}, false},
      {"NOT gA", {}, true},
      {"NOT gA AND gB", {2}, true},
      {"NOT (gA AND gB)", {1, 2}, false},
      {"gA\n AND\tgB", {1, 2}, true},
  };
  for (const auto& c : cases) {
    Depex d(c.expr, kGuids);
    EXPECT_EQ(d.evaluate([&](const EFI_GUID& g) { return c.installed.count(g.Data1) > 0; }), c.holds) << c.expr;
  }
}

TEST(Depex, RefusesMalformedExpressionsAndUnknownNames) {
  for (const char* bad : {"gA AND", "AND gA", "(gA", "gA)", "gA gB", "gUnknown", "NOT"})
    EXPECT_THROW(Depex(bad, kGuids), std::runtime_error) << bad;
}

}  // namespace
}  // namespace zub
