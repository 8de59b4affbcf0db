// The reference code's pointer table as a module finds it: in MMX register 7 from the
// start of PEI, and in a GUID HOB once memory has been discovered.
#include <gtest/gtest.h>

#include <Library/BaseLib.h>
#include <Library/HobLib.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

TEST(ReferenceCode, TableInMm7ServicesAndHob) {
  BootSession boot{boardWith({{"cpu", {{"rc_type", 2}, {"rc_revision", 5}}}}), {}};
  boot.start();
  auto* table = reinterpret_cast<const RC_HOST_POINTER_TABLE*>(uintptr_t(AsmReadMm7 ()));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Signature, RC_HOST_POINTER_TABLE_SIGNATURE);
  EXPECT_EQ(table->SysHost, uintptr_t(boot.referenceCode().sysHost().data()));
  EXPECT_EQ(boot.referenceCode().sysHost().size(), size_t(RC_SYSHOST_SIZE));

  auto* services = reinterpret_cast<const RC_SILICON_SERVICES*>(uintptr_t(table->SiliconServices));
  // The SPI controller (0:1F.5) BIOS control register; device and function keep their widths.
  EXPECT_EQ(services->GetPcieCfgAddress(0, 0, 31, 5, 0xDC), 0x800FD0DCu);
  EXPECT_EQ(services->GetPcieCfgAddress(0, 0x17, 0x3F, 0x0F, 0x20), 0x817FF020u);
  UINT8 type = 0xFF, revision = 0xFF;
  EXPECT_EQ(services->GetCpuAndRevision(&type, &revision), EFI_SUCCESS);
  EXPECT_EQ(type, 2);
  EXPECT_EQ(revision, 5);
  EXPECT_EQ(services->GetCpuAndRevision(nullptr, &revision), EFI_INVALID_PARAMETER);

  EXPECT_EQ(GetFirstGuidHob (&gRcHostPointerTableHobGuid), nullptr) << "no HOB before memory";
  boot.runStep({TimelineStep::Kind::Install, 1, 0, {}, true, 1, "memory-discovered"});
  VOID* hob = GetFirstGuidHob (&gRcHostPointerTableHobGuid);
  ASSERT_NE(hob, nullptr);
  EXPECT_EQ(*static_cast<UINT64*>(GET_GUID_HOB_DATA (hob)), uintptr_t(table));
}

}  // namespace
}  // namespace zub
