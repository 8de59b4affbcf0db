// NVAR records as the board writes and reads them: the byte layout of each kind of record,
// stores with padding, chains and nested stores, and where a walk of a damaged store stops.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Foundation/Guid.h"
#include "Platform/NvarStore.h"
#include "Platform/SetupDefaults.h"

namespace zub {
namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> b) { return std::vector<uint8_t>(b.begin(), b.end()); }

TEST(NvarStore, RecordLayouts) {
  NvarRecord ascii;
  ascii.name = "Ab";
  ascii.guidIndex = 3;
  ascii.data = {0x11, 0x22};
  EXPECT_EQ(encodeNvarRecord(ascii), bytes({'N', 'V', 'A', 'R', 16, 0, 0, 0, 0, 0x82, 3, 'A', 'b', 0, 0x11, 0x22}));

  NvarRecord wide;
  wide.name = "Ab";
  wide.asciiName = false;
  wide.guid = *guidFromString("00112233-4455-6677-8899-AABBCCDDEEFF");
  wide.next = 0x123456;
  wide.data = {0x7F};
  EXPECT_EQ(encodeNvarRecord(wide), bytes({'N', 'V', 'A', 'R', 33, 0, 0x56, 0x34, 0x12, 0x84,   // header
                                           0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,        // GUID
                                           0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF,
                                           'A', 0, 'b', 0, 0, 0, 0x7F}));

  NvarRecord dataOnly;
  dataOnly.dataOnly = true;
  dataOnly.valid = false;
  dataOnly.data = {1, 2, 3};
  EXPECT_EQ(encodeNvarRecord(dataOnly), bytes({'N', 'V', 'A', 'R', 13, 0, 0, 0, 0, 0x08, 1, 2, 3}));

  NvarRecord damaged = ascii;
  damaged.size = 0;
  damaged.flags = 0x5A;
  damaged.unterminatedName = true;
  EXPECT_EQ(encodeNvarRecord(damaged), bytes({'N', 'V', 'A', 'R', 0, 0, 0, 0, 0, 0x5A, 3, 'A', 'b', 0x11, 0x22}));
}

TEST(NvarStore, WalkReadsWhatTheBuilderWrote) {
  NvarRecord a;
  a.name = "Setup";
  a.data.assign(263, 0xA5);
  NvarRecord b;
  b.name = "Timeout";
  b.asciiName = false;
  b.data = {5, 0};
  b.offset = 0x2345;                     // padding fills the gap
  b.nextRecord = 2;
  NvarRecord c;
  c.name = "Timeout";
  c.asciiName = false;
  c.data = {9, 0};
  NvramStoreImage image = buildNvramStore({a, b, c}, 0x4000);
  ASSERT_EQ(image.bytes.size(), 0x4000u);
  EXPECT_EQ(image.offsets, (std::vector<size_t>{0, 0x2345, 0x2345 + 29}));
  NvramStoreWalk w = walkNvramStore(image.bytes.data(), image.bytes.size());
  EXPECT_EQ(w.stop, "erased");
  EXPECT_EQ(w.end, 0x2345u + 29 + 29);
  ASSERT_GE(w.records.size(), 4u);
  EXPECT_EQ(w.records.front().name, "Setup");
  EXPECT_EQ(w.records.front().dataSize, 263u);
  EXPECT_EQ(w.records.front().guidIndex, 0);
  for (size_t i = 1; i + 2 < w.records.size(); ++i) {
    EXPECT_EQ(w.records[i].flags, nvar::kValid | nvar::kDataOnly) << "padding";
    EXPECT_TRUE(w.records[i].valid());
  }
  const NvarView& t = w.records[w.records.size() - 2];
  EXPECT_EQ(t.offset, 0x2345u);
  EXPECT_EQ(t.name, "Timeout");
  EXPECT_FALSE(t.ascii());
  EXPECT_EQ(t.dataOffset, 10u + 1 + 16);
  EXPECT_EQ(t.next, 29u);
  NvarChain chain = followNvarChain(image.bytes.data(), image.bytes.size(), 0x2345);
  EXPECT_EQ(chain.hops, (std::vector<size_t>{0x2345, 0x2345 + 29}));
  EXPECT_TRUE(chain.problem.empty());
}

TEST(NvarStore, NestedStoreAndTheSetupDefaults) {
  NvarRecord defaults;
  defaults.name = "StdDefaults";
  defaults.nested = setupDefaultRecords({{4, 5, 6}});
  std::vector<uint8_t> rec = encodeNvarRecord(defaults);
  NvramStoreWalk top = walkNvramStore(rec.data(), rec.size());
  ASSERT_EQ(top.records.size(), 1u);
  const uint8_t* nest = rec.data() + top.records[0].dataOffset;
  NvramStoreWalk inner = walkNvramStore(nest, top.records[0].dataSize);
  EXPECT_EQ(inner.stop, "end of store");
  ASSERT_EQ(inner.records.size(), setupDefaultVariables().size());
  for (size_t i = 0; i < inner.records.size(); ++i) {
    EXPECT_EQ(inner.records[i].name, setupDefaultVariables()[i].name);
    EXPECT_EQ(inner.records[i].dataSize, setupDefaultVariables()[i].size);
  }
  const uint8_t* info = nest + inner.records[0].offset + inner.records[0].dataOffset;
  EXPECT_EQ(std::vector<uint8_t>(info, info + 8), bytes({4, 5, 6, 0, 0, 0, 0, 0}));
}

TEST(NvarStore, AWalkStopsAtTheFirstPositionWithoutAWholeRecord) {
  auto store = [](std::vector<uint8_t> tail) {
    NvarRecord a;
    a.name = "A";
    std::vector<uint8_t> s = encodeNvarRecord(a);   // 13 bytes
    s.insert(s.end(), tail.begin(), tail.end());
    return s;
  };
  struct Case {
    std::vector<uint8_t> store;
    const char* stop;
  } cases[] = {
      {store({}), "end of store"},
      {store({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "erased"},
      {store({'N', 'V', 'A', 'R', 0, 0, 0, 0, 0, 0x82}), "size 0"},
      {store({'N', 'V', 'A', 'R', 200, 0, 0, 0, 0, 0x82}), "size 200 runs past the store"},
      {store({'N', 'V', 'A', 'R', 4}), "a partial header before the end of the store"},
      {store({'X', 'V', 'A', 'R', 10, 0, 0, 0, 0, 0x82}), "no signature"},
  };
  for (const auto& c : cases) {
    NvramStoreWalk w = walkNvramStore(c.store.data(), c.store.size());
    EXPECT_EQ(w.stop, c.stop);
    EXPECT_EQ(w.end, 13u) << c.stop;
    EXPECT_EQ(w.records.size(), 1u) << c.stop;
  }
  // A name without its terminator inside the record.
  NvarRecord u;
  u.name = "Open";
  u.unterminatedName = true;
  std::vector<uint8_t> s = encodeNvarRecord(u);
  NvramStoreWalk w = walkNvramStore(s.data(), s.size());
  ASSERT_EQ(w.records.size(), 1u);
  EXPECT_FALSE(w.records[0].terminated);
  EXPECT_EQ(w.records[0].dataSize, 0u);
}

TEST(NvarStore, ChainsThatLeaveTheStoreOrLandOnNothingAreBroken) {
  NvarRecord a;
  a.name = "A";
  a.next = 0x100;
  std::vector<uint8_t> s = buildNvramStore({a}, 0x80).bytes;
  EXPECT_NE(followNvarChain(s.data(), s.size(), 0).problem.find("leaves the store"), std::string::npos);
  a.next = 0x20;
  s = buildNvramStore({a}, 0x80).bytes;
  EXPECT_NE(followNvarChain(s.data(), s.size(), 0).problem.find("erased"), std::string::npos);
}

TEST(NvarStore, RecordsThatCannotBePlacedAreRefused) {
  NvarRecord a;
  a.name = "A";
  a.data.assign(100, 0);
  EXPECT_THROW(buildNvramStore({a}, 64), std::invalid_argument);
  NvarRecord b = a;
  b.offset = a.data.size() + 13 + 4;   // a gap of 4 bytes: too short for padding
  EXPECT_THROW(buildNvramStore({a, b}), std::invalid_argument);
  b.offset = 10;                       // before the end of the record in front
  EXPECT_THROW(buildNvramStore({a, b}), std::invalid_argument);
  a.nextRecord = 0;
  EXPECT_THROW(buildNvramStore({a}), std::invalid_argument);
  NvarRecord big;
  big.name = "Big";
  big.data.assign(0x10000, 0);
  EXPECT_THROW(encodeNvarRecord(big), std::invalid_argument);
}

}  // namespace
}  // namespace zub
