// Two test images meet only through PPIs: Ping installs one, Pong's notification calls it.
#include <gtest/gtest.h>

#include <Ppi/ZubTestPing.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

BoardConfig pingPongBoard(std::vector<std::string> order) {
  BoardConfig b = defaultBoard();
  b.modules = {"PingPei", "PongPei"};
  b.dispatchOrder = std::move(order);
  b.timeline = {TimelineStep{}};
  return b;
}

TEST(ModuleImages, InstallLocateAndNotifyAcrossImagesInEitherOrder) {
  for (auto order : {std::vector<std::string>{"PingPei", "PongPei"}, std::vector<std::string>{"PongPei", "PingPei"}}) {
    BootSession boot(pingPongBoard(order), {}, {ZUB_TEST_FIRMWARE_DIR});
    BootResult r = boot.run();
    EXPECT_EQ(r.end, BootEndKind::Completed) << r.detail;
    auto* pong = boot.locate<ZUB_TEST_PONG_PPI>(gZubTestPongPpiGuid);
    ASSERT_NE(pong, nullptr) << order[0];
    EXPECT_EQ(pong->Answer, 42u);
    EXPECT_NE(boot.platform().debug.log().find("PongPei: ping answered 42\n"), std::string::npos);
  }
}

TEST(ModuleImages, EveryBootLoadsTheImagesAfreshWithZeroedGlobals) {
  for (int i = 0; i < 3; ++i) {
    BootSession boot(pingPongBoard({}), {}, {ZUB_TEST_FIRMWARE_DIR});
    boot.run();
    auto* pong = boot.locate<ZUB_TEST_PONG_PPI>(gZubTestPongPpiGuid);
    ASSERT_NE(pong, nullptr);
    EXPECT_EQ(pong->EntryCount, 1u) << "boot " << i;
  }
}

TEST(ModuleImages, AccessesAndTimeAreChargedToTheImageThatMadeThem) {
  BootSession boot(pingPongBoard({}), {}, {ZUB_TEST_FIRMWARE_DIR});
  boot.run();
  auto summary = boot.summary();
  ASSERT_EQ(summary["modules"].size(), 2u);
  EXPECT_EQ(summary["ended"], "completed");
  EXPECT_EQ(summary["not_dispatched"].size(), 0u);
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

TEST(ModuleImages, AResetOrDeadLoopInsideAModuleEndsTheBootAtOnce) {
  struct Case {
    uint8_t request;
    BootEndKind end;
  } cases[] = {{1, BootEndKind::ColdReset}, {2, BootEndKind::WarmReset}, {3, BootEndKind::Halted},
               {0, BootEndKind::Completed}};
  for (const auto& c : cases) {
    BoardConfig b = pingPongBoard({"PingPei", "StopPei", "PongPei"});
    b.modules.push_back("StopPei");
    b.cmosUpper[0x7F] = c.request;
    BootSession boot(b, {}, {ZUB_TEST_FIRMWARE_DIR});
    BootResult r = boot.run();
    EXPECT_EQ(r.end, c.end) << int(c.request) << " " << r.detail;
    bool went_on = boot.platform().debug.log().find("StopPei: still running") != std::string::npos;
    EXPECT_EQ(went_on, c.end == BootEndKind::Completed);
    EXPECT_EQ(boot.summary()["not_dispatched"].size(), c.end == BootEndKind::Completed ? 0u : 1u)
        << "modules after the stop are never entered";
  }
}

}  // namespace
}  // namespace zub
