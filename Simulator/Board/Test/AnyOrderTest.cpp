// The default board booted under many dispatch orders (a seeded random sample, the
// reverse, and two interleavings): the dispatcher takes, at each step, the first module
// of the order whose depex holds, so every order here is one the depex allows. No order
// may crash, hang, assert or leave a module undispatched, and what the boot hands on
// (PCDs, HOBs, the diagnosis CMOS record, the files at the BMC) matches the board's own
// order except where order is known to matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

struct Outcome {
  nlohmann::json summary;
  std::set<std::string> bmcFiles;
};

Outcome bootIn(const std::vector<std::string>& order) {
  BoardConfig b = defaultBoard();
  b.dispatchOrder = order;
  BootSession s(b, PersistentState{});
  s.run();
  Outcome o{s.summary(), {}};
  for (const auto& f : s.bmc().receivedFiles()) o.bmcFiles.insert(f.name);
  return o;
}

// PCDs whose value follows the order by design: the console's row counter and warning
// flag (lines are drawn only once the console exists) and the log window's time stamp
// (virtual time at its declaration).
const std::set<std::string> kOrderDependentPcds = {"PcdZubVgaTextRow", "PcdZubVgaWarningShown", "PcdZubLogTime"};

// Video memory exists only once VgaDecodePei has run: the debug-log window is declared
// only when DebugCapturePei ran before it, and the BMC's parameter block (its addresses)
// arrives only when VgaDecodePei ran before ReportPushPei's fetch.
const std::set<std::string> kLogWindowPcds = {"PcdZubLogBufferBase", "PcdZubLogBufferSize"};
const std::set<std::string> kBmcParameterPcds = {"PcdZubBmcDedicatedIpv4", "PcdZubBmcDedicatedIpv6",
                                                 "PcdZubBmcShareIpv4", "PcdZubBmcShareIpv6"};

bool before(const std::vector<std::string>& order, const std::string& a, const std::string& b) {
  return std::find(order.begin(), order.end(), a) < std::find(order.begin(), order.end(), b);
}

std::vector<std::vector<std::string>> orders(const std::vector<std::string>& base) {
  std::vector<std::vector<std::string>> out;
  std::mt19937 rng(20261211);
  for (int i = 0; i < 8; ++i) {
    auto o = base;
    std::shuffle(o.begin(), o.end(), rng);
    out.push_back(o);
  }
  out.emplace_back(base.rbegin(), base.rend());
  std::vector<std::string> evenOdd, outsideIn;
  for (size_t i = 0; i < base.size(); i += 2) evenOdd.push_back(base[i]);
  for (size_t i = 1; i < base.size(); i += 2) evenOdd.push_back(base[i]);
  for (size_t i = 0, j = base.size(); i < j;) {
    outsideIn.push_back(base[i++]);
    if (i < j) outsideIn.push_back(base[--j]);
  }
  out.push_back(evenOdd);
  out.push_back(outsideIn);
  return out;
}

TEST(AnyOrder, EveryOrderBootsAndHandsOnTheSameState) {
  const std::vector<std::string> base = defaultBoard().dispatchOrder;
  Outcome reference = bootIn(base);
  ASSERT_EQ(reference.summary["ended"], "completed");
  for (const auto& order : orders(base)) {
    std::string name;
    for (const auto& m : order) name += m + " ";
    SCOPED_TRACE(name);
    Outcome o = bootIn(order);
    EXPECT_EQ(o.summary["ended"], "completed") << o.summary["detail"];
    EXPECT_EQ(o.summary["not_dispatched"], reference.summary["not_dispatched"]);
    EXPECT_EQ(o.summary["assertions"], 0);
    EXPECT_EQ(o.summary["pcd_misuses"], reference.summary["pcd_misuses"]);
    for (const auto& m : o.summary["modules"]) EXPECT_EQ(m["status"], "0x00000000") << m["name"];
    std::string differing;
    for (auto& [pcd, value] : reference.summary["pcds"].items())
      if (kOrderDependentPcds.count(pcd) || (kLogWindowPcds.count(pcd) && before(order, "VgaDecodePei", "DebugCapturePei")) ||
          (kBmcParameterPcds.count(pcd) && before(order, "ReportPushPei", "VgaDecodePei")))
        continue;
      else if (o.summary["pcds"][pcd] != value)
        differing += pcd + "=" + o.summary["pcds"][pcd].dump() + " (not " + value.dump() + ") ";
    EXPECT_EQ(differing, "");
    // CMOS past the clock registers (the wall clock runs on with virtual time).
    EXPECT_EQ(o.summary["cmos"]["standard"].get<std::string>().substr(3 * 0x0E),
              reference.summary["cmos"]["standard"].get<std::string>().substr(3 * 0x0E));
    EXPECT_EQ(o.summary["cmos"]["upper"], reference.summary["cmos"]["upper"]);
    std::multiset<std::string> hobs, referenceHobs;
    for (const auto& h : o.summary["hobs"]) hobs.insert(h.value("name", std::to_string(h["type"].get<int>())));
    for (const auto& h : reference.summary["hobs"]) referenceHobs.insert(h.value("name", std::to_string(h["type"].get<int>())));
    EXPECT_EQ(hobs, referenceHobs);
    if (!before(order, "ReportPushPei", "VgaDecodePei")) EXPECT_EQ(o.bmcFiles, reference.bmcFiles);
  }
}

}  // namespace
}  // namespace zub
