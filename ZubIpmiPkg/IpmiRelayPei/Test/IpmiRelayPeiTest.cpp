// The relay image on the simulated board: sizes without the completion code, the 128-byte
// answer buffer, the OEM shortcut, BMC status, and a transport that is not there yet.
#include <gtest/gtest.h>

#include <cstring>

#include <Ppi/IpmiTransportPpi.h>
#include <Ppi/ZubIpmiTransport.h>

#include "Board/BoardFile.h"
#include "Board/BootSession.h"

namespace zub {
namespace {

constexpr uint8_t kNetFn = 0x06, kCmd = 0x01;

// A board whose timeline would install the platform transport: until that step runs the
// transport is absent.
BoardConfig relayBoard(bool transportLater = false) {
  BoardConfig b = defaultBoard();
  b.modules = {"IpmiRelayPei"};
  b.timeline = {TimelineStep{}};
  if (transportLater) {
    TimelineStep s{TimelineStep::Kind::Install};
    s.ppi = "ipmi-transport";
    b.timeline.push_back(s);
  }
  return b;
}

struct RelayBoot {
  explicit RelayBoot(BoardConfig b = relayBoard()) : boot(b, {}) {
    boot.start();
    EXPECT_EQ(boot.dispatcher().dispatch("IpmiRelayPei"), EFI_SUCCESS);
    relay = boot.locate<ZUB_IPMI_TRANSPORT_PPI>(gZubIpmiTransportPpiGuid);
  }
  size_t requests() { return boot.events().ofType("ipmi_request").size(); }
  bool logged(const std::string& text) { return boot.platform().debug.log().find(text) != std::string::npos; }
  BootSession boot;
  ZUB_IPMI_TRANSPORT_PPI* relay = nullptr;
};

std::vector<uint8_t> answerOf(uint8_t cc, size_t dataBytes) {
  std::vector<uint8_t> a{cc};
  for (size_t i = 0; i < dataBytes; ++i) a.push_back(static_cast<uint8_t>(0x10 + i));
  return a;
}

enum class Slot { Command, Oem, CommandCc };

EFI_STATUS callSlot(ZUB_IPMI_TRANSPORT_PPI* relay, Slot slot, uint8_t* data, uint8_t* size, uint8_t* cc) {
  uint8_t req[2] = {0xAA, 0xBB};
  switch (slot) {
    case Slot::Command: return relay->IpmiSendCommand(relay, kNetFn, 0, kCmd, req, 2, data, size);
    case Slot::Oem: return relay->IpmiSendOemCommand(relay, kCmd, req, 2, data, size);
    case Slot::CommandCc: return relay->IpmiSendCommandCc(relay, kNetFn, 0, kCmd, req, 2, data, size, cc);
  }
  return EFI_UNSUPPORTED;
}

TEST(IpmiRelay, SizesCountDataBytesOnlyAndTheBufferHolds127) {
  struct Case {
    const char* name;
    unsigned capacity;      // the caller's ResponseDataSize on input
    uint8_t cc;
    size_t answerData;      // data bytes the BMC answers
    EFI_STATUS status;
    unsigned sizeOut;
    bool sent;
  } cases[] = {
      {"three data bytes", 3, 0x00, 3, EFI_SUCCESS, 3, true},
      {"127 fits the 128-byte buffer", 127, 0x00, 127, EFI_SUCCESS, 127, true},
      {"only a completion code", 10, 0x00, 0, EFI_SUCCESS, 0, true},
      {"128 refused before any traffic", 128, 0x00, 3, EFI_OUT_OF_RESOURCES, 128, false},
      {"255 refused before any traffic", 255, 0x00, 3, EFI_OUT_OF_RESOURCES, 255, false},
      {"BMC error: size set, data untouched", 10, 0xC1, 0, EFI_DEVICE_ERROR, 0, true},
  };
  for (Slot slot : {Slot::Command, Slot::Oem, Slot::CommandCc}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " slot " + std::to_string(int(slot)));
      RelayBoot rb;
      ASSERT_NE(rb.relay, nullptr);
      rb.boot.bmc().handle(slot == Slot::Oem ? ZUB_IPMI_NETFN_OEM : kNetFn, kCmd,
                           [&](const std::vector<uint8_t>&) { return answerOf(c.cc, c.answerData); });
      uint8_t data[256];
      std::memset(data, 0xEE, sizeof(data));
      uint8_t size = static_cast<uint8_t>(c.capacity), cc = 0x55;
      EXPECT_EQ(callSlot(rb.relay, slot, data, &size, &cc), c.status);
      EXPECT_EQ(size, c.sizeOut);
      EXPECT_EQ(rb.requests(), c.sent ? 1u : 0u);
      std::vector<uint8_t> expected = answerOf(c.cc, c.status == EFI_SUCCESS ? c.answerData : 0);
      EXPECT_EQ(std::vector<uint8_t>(data, data + expected.size() - 1),
                std::vector<uint8_t>(expected.begin() + 1, expected.end()));
      EXPECT_EQ(data[expected.size() - 1], 0xEE) << "nothing written past the data";
      if (c.status == EFI_OUT_OF_RESOURCES) { EXPECT_TRUE(rb.logged("No enough resource\n")); }
      if (c.cc) { EXPECT_TRUE(rb.logged("CompletionCode: 0xC1\n")); }
      if (slot == Slot::CommandCc && c.sent) { EXPECT_EQ(cc, c.cc); }
    }
  }
}

TEST(IpmiRelay, OemCommandGoesToNetFn36Lun0) {
  RelayBoot rb;
  uint8_t req[4] = {0x5B, 0x4E, 0x00, 0x20}, resp[3], size = 3;
  rb.relay->IpmiSendOemCommand(rb.relay, 0x04, req, 4, resp, &size);
  auto sent = rb.boot.events().ofType("ipmi_request");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0]["netfn"], "0x36");
  EXPECT_EQ(sent[0]["lun"], 0);
  EXPECT_EQ(sent[0]["cmd"], "0x04");
  EXPECT_EQ(sent[0]["data"], "5B 4E 00 20");
}

TEST(IpmiRelay, NullSizeOrCompletionCodeIsRefusedWithoutTraffic) {
  RelayBoot rb;
  uint8_t data[8], size = 4, cc = 0;
  EXPECT_EQ(rb.relay->IpmiSendCommand(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, nullptr), EFI_INVALID_PARAMETER);
  EXPECT_EQ(rb.relay->IpmiSendOemCommand(rb.relay, kCmd, nullptr, 0, data, nullptr), EFI_INVALID_PARAMETER);
  EXPECT_EQ(rb.relay->IpmiSendCommandCc(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, nullptr, &cc),
            EFI_INVALID_PARAMETER);
  EXPECT_EQ(rb.relay->IpmiSendCommandCc(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size, nullptr),
            EFI_INVALID_PARAMETER);
  EXPECT_EQ(rb.requests(), 0u);
}

TEST(IpmiRelay, BeforeTheTransportExistsEveryCallFailsCleanly) {
  RelayBoot rb(relayBoard(true));
  ASSERT_NE(rb.relay, nullptr) << "the relay installs without the transport";
  uint8_t data[8], size = 4, cc = 0;
  UINT32 status = 0x12345678;
  EXPECT_EQ(rb.relay->IpmiSendCommand(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size), EFI_NOT_FOUND);
  EXPECT_EQ(rb.relay->IpmiSendOemCommand(rb.relay, kCmd, nullptr, 0, data, &size), EFI_NOT_FOUND);
  EXPECT_EQ(rb.relay->IpmiSendCommandCc(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size, &cc), EFI_NOT_FOUND);
  EXPECT_EQ(rb.relay->IpmiGetBmcStatus(rb.relay, &status, nullptr), EFI_NOT_FOUND);
  EXPECT_EQ(status, 0x12345678u) << "BmcStatus is not written";
  EXPECT_TRUE(rb.logged("Failed to locate ipmi ppi Not Found\n"));
  EXPECT_EQ(rb.requests(), 0u);
  // Once the outside firmware installs it, the same relay reaches the BMC.
  rb.boot.runStep(rb.boot.board().timeline.back());
  rb.boot.bmc().handle(kNetFn, kCmd, [](const std::vector<uint8_t>&) { return answerOf(0, 2); });
  EXPECT_EQ(rb.relay->IpmiSendCommand(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size), EFI_SUCCESS);
  EXPECT_EQ(size, 2u);
}

TEST(IpmiRelay, BmcStatusIsWhatTheTransportLeft) {
  for (bool present : {true, false}) {
    BoardConfig b = relayBoard();
    b.bmc.present = present;
    RelayBoot rb(b);
    UINT32 status = 0xFFFFFFFF;
    EXPECT_EQ(rb.relay->IpmiGetBmcStatus(rb.relay, &status, nullptr), EFI_SUCCESS);
    EXPECT_EQ(status, present ? BMC_STATUS_OK : BMC_STATUS_HARDFAIL);
  }
}

// A transport that misbehaves in the ways the relay must survive: a successful answer of
// no bytes at all, a status call that fails after writing nothing, and overfilling.
struct OddTransport {
  static inline uint8_t answerBytes = 0;
  static EFI_STATUS EFIAPI send(PEI_IPMI_TRANSPORT_PPI*, UINT8, UINT8, UINT8, UINT8*, UINT32, UINT8* r, UINT8* n) {
    std::memset(r, 0, answerBytes);
    *n = answerBytes;
    return EFI_SUCCESS;
  }
  static EFI_STATUS EFIAPI status(PEI_IPMI_TRANSPORT_PPI*, UINT32*, VOID*) { return EFI_DEVICE_ERROR; }
  static EFI_STATUS EFIAPI sendCc(PEI_IPMI_TRANSPORT_PPI*, UINT8, UINT8, UINT8, UINT8*, UINT8, UINT8* r, UINT32* n,
                                  UINT8* cc, UINT8) {
    std::memset(r, 0, answerBytes);
    *n = answerBytes;
    *cc = 0;
    return EFI_SUCCESS;
  }
  PEI_IPMI_TRANSPORT_PPI ppi{1, send, status, sendCc};
  EFI_PEI_PPI_DESCRIPTOR desc{EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST,
                              &gEfiPeiIpmiTransportPpiGuid, &ppi};
};

TEST(IpmiRelay, OddTransportAnswersNeverReachPastTheCallersBuffer) {
  struct Case {
    uint8_t answerBytes, capacity, sizeOut;
  } cases[] = {{0, 5, 0}, {1, 5, 0}, {100, 5, 5}};
  for (const auto& c : cases) {
    RelayBoot rb(relayBoard(true));
    OddTransport odd;
    OddTransport::answerBytes = c.answerBytes;
    rb.boot.core().installPpi(&odd.desc);
    uint8_t data[16];
    std::memset(data, 0xEE, sizeof(data));
    uint8_t size = c.capacity, cc;
    EXPECT_EQ(rb.relay->IpmiSendCommand(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size), EFI_SUCCESS);
    EXPECT_EQ(size, c.sizeOut) << int(c.answerBytes);
    size = c.capacity;
    EXPECT_EQ(rb.relay->IpmiSendCommandCc(rb.relay, kNetFn, 0, kCmd, nullptr, 0, data, &size, &cc), EFI_SUCCESS);
    EXPECT_EQ(size, c.sizeOut) << int(c.answerBytes);
    EXPECT_EQ(data[c.capacity], 0xEE);
    UINT32 status = 0xFFFFFFFF;
    EXPECT_EQ(rb.relay->IpmiGetBmcStatus(rb.relay, &status, nullptr), EFI_DEVICE_ERROR);
    EXPECT_EQ(status, 0u) << "the local value, also on failure";
  }
}

}  // namespace
}  // namespace zub
