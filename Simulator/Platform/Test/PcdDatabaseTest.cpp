// The PCD service as the modules call it.
#include <gtest/gtest.h>

#include <cstring>

#include <ZubPcdTokens.h>

#include "Platform/PcdDatabase.h"

namespace zub {
namespace {

struct Pcds : ::testing::Test {
  PcdDatabase db;
  const PCD_PPI* ppi = db.ppi();
  void SetUp() override { PcdDatabase::current = &db; }
  void TearDown() override { PcdDatabase::current = nullptr; }
};

TEST_F(Pcds, EveryTypeKeepsItsWidth) {
  ppi->Set8(PcdZubCustomId_TOKEN, 0xAB);
  ppi->Set16(PcdZubVgaTextRow_TOKEN, 0x1234);
  ppi->Set32(PcdZubBmcBootOption_TOKEN, 0xDEADBEEF);
  ppi->SetBool(PcdZubVgaWarningShown_TOKEN, TRUE);
  EXPECT_EQ(ppi->Get8(PcdZubCustomId_TOKEN), 0xAB);
  EXPECT_EQ(ppi->Get16(PcdZubVgaTextRow_TOKEN), 0x1234);
  EXPECT_EQ(ppi->Get32(PcdZubBmcBootOption_TOKEN), 0xDEADBEEFu);
  EXPECT_TRUE(ppi->GetBool(PcdZubVgaWarningShown_TOKEN));
  EXPECT_EQ(ppi->Get64(PcdPciExpressBaseAddress_TOKEN), 0x80000000ull);
  EXPECT_EQ(ppi->GetSize(PcdZubVgaTextRow_TOKEN), 2u);
  EXPECT_TRUE(db.misuses().empty());
}

TEST_F(Pcds, WrongWidthOrUnknownTokenIsRecorded) {
  ppi->Set8(PcdZubBmcBootOption_TOKEN, 1);
  EXPECT_EQ(ppi->Get8(0x7777), 0);
  ASSERT_EQ(db.misuses().size(), 2u);
  EXPECT_NE(db.misuses()[0].find("PcdZubBmcBootOption (UINT32) as UINT8"), std::string::npos);
}

TEST_F(Pcds, PointerSetThatDoesNotFitFailsAndChangesNothing) {
  UINTN size = 9;
  ASSERT_EQ(ppi->SetPtr(PcdZubBmcShareIpv4_TOKEN, &size, (VOID*)"10.0.0.1"), EFI_SUCCESS);
  char big[17] = "255.255.255.2550";
  size = sizeof big;
  EXPECT_EQ(ppi->SetPtr(PcdZubBmcShareIpv4_TOKEN, &size, big), EFI_INVALID_PARAMETER);
  EXPECT_EQ(size, 16u) << "the size that would fit is reported";
  EXPECT_STREQ(static_cast<char*>(ppi->GetPtr(PcdZubBmcShareIpv4_TOKEN)), "10.0.0.1");
  size = 16;
  EXPECT_EQ(ppi->SetPtr(PcdZubBmcShareIpv4_TOKEN, &size, big), EFI_SUCCESS) << "exactly the maximum fits";
  EXPECT_EQ(ppi->GetSize(PcdZubBmcShareIpv4_TOKEN), 16u);
}

TEST(PcdTable, TokensAndNamesAreUnique) {
  std::set<uint32_t> tokens;
  std::set<std::string> names;
  for (const auto& d : pcdDefinitions()) {
    EXPECT_TRUE(tokens.insert(d.token).second) << d.name;
    EXPECT_TRUE(names.insert(d.name).second) << d.name;
    EXPECT_EQ(d.type == PcdType::Ptr, d.maxSize > 0) << d.name;
  }
}

}  // namespace
}  // namespace zub
