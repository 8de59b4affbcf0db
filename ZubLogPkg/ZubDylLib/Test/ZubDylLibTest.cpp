// ZubDylLib linked into a module image, on the board's real CMOS clock: the time stamp
// against the C library's calendar, the clock reader in each data and hour mode, and the
// bytes of the request handed to the IPMI relay.
#include <gtest/gtest.h>

#include <ctime>

#include <Ppi/ZubIpmiTransport.h>
#include "DylProbe.h"

#include "Board/BoardFile.h"
#include "Board/BootSession.h"
#include "Devices/Chipset.h"

namespace zub {
namespace {

// A relay that records what it is asked to send and answers with a chosen status.
struct RecordingRelay {
  ZUB_IPMI_TRANSPORT_PPI ppi{};
  EFI_PEI_PPI_DESCRIPTOR descriptor{};
  struct Sent {
    uint8_t netFn, lun, command;
    std::vector<uint8_t> data;
    uint8_t responseSize;
  };
  std::vector<Sent> sent;
  EFI_STATUS answer = EFI_SUCCESS;

  static RecordingRelay* self(ZUB_IPMI_TRANSPORT_PPI* p) { return reinterpret_cast<RecordingRelay*>(p); }
  RecordingRelay() {
    ppi.IpmiSendCommand = [](ZUB_IPMI_TRANSPORT_PPI* This, UINT8 netFn, UINT8 lun, UINT8 cmd, UINT8* data,
                             UINT32 size, UINT8*, UINT8* responseSize) -> EFI_STATUS {
      self(This)->sent.push_back({netFn, lun, cmd, std::vector<uint8_t>(data, data + size), *responseSize});
      return self(This)->answer;
    };
    descriptor = {EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &gZubIpmiTransportPpiGuid, &ppi};
  }
};
static_assert(offsetof(RecordingRelay, ppi) == 0);

struct ProbeBoot {
  explicit ProbeBoot(bool binary = false, bool hour24 = true, uint8_t registerD = 0x80, bool withRelay = true)
      : boot(board(binary, hour24, registerD), {}, {ZUB_TEST_FIRMWARE_DIR}) {
    EXPECT_EQ(boot.run().end, BootEndKind::Completed);
    probe = boot.locate<ZUB_DYL_PROBE_PPI>(gZubDylProbePpiGuid);
    if (withRelay) boot.core().installPpi(&relay.descriptor);
  }
  static BoardConfig board(bool binary, bool hour24, uint8_t registerD) {
    BoardConfig b = defaultBoard();
    b.modules = {"DylProbePei"};
    b.timeline = {TimelineStep{}};
    b.rtc.binary = binary;
    b.rtc.hour24 = hour24;
    b.rtc.registerD = registerD;
    return b;
  }
  // Mid-second, so that a read never straddles an update.
  void setClock(int64_t epoch) { boot.chipset().cmos.rtc().setWallTimeNs(epoch * 1'000'000'000 + 300'000'000); }

  BootSession boot;
  RecordingRelay relay;
  ZUB_DYL_PROBE_PPI* probe = nullptr;
};

int64_t utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  std::tm tm{};
  tm.tm_year = y - 1900, tm.tm_mon = mo - 1, tm.tm_mday = d, tm.tm_hour = h, tm.tm_min = mi, tm.tm_sec = s;
  return int64_t(timegm(&tm));
}

TEST(ZubDylLib, TimeStampMatchesTheCalendarFrom1970To2099) {
  ProbeBoot p;
  ASSERT_NE(p.probe, nullptr);
  for (int year = 1970; year <= 2099; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 28}) {
        int64_t t = utc(year, month, day, 17, 43, 59);
        p.setClock(t);
        UINT32 seconds = 0;
        ASSERT_EQ(p.probe->DylGetTimeStamp(&seconds), EFI_SUCCESS);
        EXPECT_EQ(seconds, uint32_t(t)) << year << "-" << month << "-" << day;
      }
    }
    int64_t leapDay = utc(year, 2, 28, 23, 59, 59) + 1;   // Feb 29 or Mar 1
    p.setClock(leapDay);
    UINT32 seconds = 0;
    ASSERT_EQ(p.probe->DylGetTimeStamp(&seconds), EFI_SUCCESS);
    EXPECT_EQ(seconds, uint32_t(leapDay)) << year << " day after Feb 28";
  }
}

TEST(ZubDylLib, TimeStampExamples) {
  struct Case {
    int64_t at;
    uint32_t seconds;
  } cases[] = {{utc(2021, 3, 1), 1614556800u}, {utc(2020, 2, 29, 12), 1582977600u}, {utc(1970, 1, 1), 0u}};
  ProbeBoot p;
  for (const auto& c : cases) {
    p.setClock(c.at);
    UINT32 seconds = 1;
    ASSERT_EQ(p.probe->DylGetTimeStamp(&seconds), EFI_SUCCESS);
    EXPECT_EQ(seconds, c.seconds);
  }
}

TEST(ZubDylLib, ClockReaderInEveryDataAndHourMode) {
  struct Hour {
    int wall, expected;
  } hours[] = {{0, 0}, {1, 1}, {11, 11}, {12, 12}, {13, 13}, {23, 23}};
  for (bool binary : {false, true}) {
    for (bool hour24 : {false, true}) {
      ProbeBoot p(binary, hour24);
      for (const auto& h : hours) {
        p.setClock(utc(2026, 12, 11, h.wall, 34, 56));
        EFI_TIME t{};
        ASSERT_EQ(p.probe->RtcReadTime(&t), EFI_SUCCESS);
        std::string mode = std::string(binary ? "binary" : "bcd") + (hour24 ? " 24h " : " 12h ") + std::to_string(h.wall);
        EXPECT_EQ(t.Year, 2026) << mode;
        EXPECT_EQ(t.Month, 12) << mode;
        EXPECT_EQ(t.Day, 11) << mode;
        EXPECT_EQ(t.Hour, h.expected) << mode;
        EXPECT_EQ(t.Minute, 34) << mode;
        EXPECT_EQ(t.Second, 56) << mode;
        EXPECT_EQ(t.Nanosecond, 0u);
        EXPECT_EQ(t.TimeZone, 0x7FF);
        EXPECT_EQ(t.Daylight, 0);
      }
    }
  }
}

TEST(ZubDylLib, ClockReaderKeepsTheNmiMaskAndTheCenturyByte) {
  ProbeBoot p;
  p.setClock(utc(2031, 5, 6));
  p.boot.chipset().cmos.ioWrite(0x70, 1, 0x80);   // NMI masked
  uint8_t centuryBefore = p.boot.chipset().cmos.byte(0x32);
  EFI_TIME t{};
  ASSERT_EQ(p.probe->RtcReadTime(&t), EFI_SUCCESS);
  EXPECT_EQ(t.Year, 2031);
  EXPECT_TRUE(p.boot.chipset().cmos.nmiDisabled());
  EXPECT_EQ(p.boot.chipset().cmos.byte(0x32), centuryBefore) << "the century probe restores the byte";
}

TEST(ZubDylLib, InvalidClockSendsNothing) {
  ProbeBoot p(false, true, 0x00);
  EFI_TIME t{};
  EXPECT_EQ(p.probe->RtcReadTime(&t), EFI_UNSUPPORTED);
  UINT32 s;
  EXPECT_EQ(p.probe->DylGetTimeStamp(&s), EFI_UNSUPPORTED);
  UINT8 data[1] = {1};
  EXPECT_EQ(p.probe->DylReport(0x0A, 0, 0, data, 1), EFI_DEVICE_ERROR);
  EXPECT_TRUE(p.relay.sent.empty());
}

TEST(ZubDylLib, MessageBytes) {
  struct Case {
    uint8_t dataLength;
    size_t total;
    uint8_t byte5;
  } cases[] = {{0, 21, 17}, {1, 22, 18}, {107, 128, 124}, {232, 253, 249}, {234, 255, 251}};
  ProbeBoot p;
  int64_t at = utc(2026, 12, 11, 4, 30, 0);
  for (const auto& c : cases) {
    p.relay.sent.clear();
    p.setClock(at);
    std::vector<uint8_t> payload(c.dataLength + 1);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = uint8_t(0xC0 + i);
    ASSERT_EQ(p.probe->DylReport(0x0A, 2, 3, payload.data(), c.dataLength), EFI_SUCCESS);
    ASSERT_EQ(p.relay.sent.size(), 1u);
    const auto& s = p.relay.sent[0];
    EXPECT_EQ(s.netFn, 0x36);
    EXPECT_EQ(s.lun, 0);
    EXPECT_EQ(s.command, 0x04);
    EXPECT_EQ(s.responseSize, 3);
    ASSERT_EQ(s.data.size(), c.total);
    uint32_t ts = uint32_t(at);
    std::vector<uint8_t> header = {0x5B, 0x4E, 0x00, 0x13, 0xA8, c.byte5, 0, 0, 0, 0, 0x01, 0x00, 0x0A, 2, 3,
                                   uint8_t(ts), uint8_t(ts >> 8), uint8_t(ts >> 16), uint8_t(ts >> 24), 0x00, 0x22};
    EXPECT_EQ(std::vector<uint8_t>(s.data.begin(), s.data.begin() + 21), header) << int(c.dataLength);
    EXPECT_EQ(std::vector<uint8_t>(s.data.begin() + 21, s.data.end()),
              std::vector<uint8_t>(payload.begin(), payload.begin() + c.dataLength));
  }
}

TEST(ZubDylLib, RefusedReportsSendNothing) {
  ProbeBoot p;
  UINT8 data[240] = {};
  EXPECT_EQ(p.probe->DylReport(0x0A, 0, 0, nullptr, 1), EFI_UNSUPPORTED);
  EXPECT_EQ(p.probe->DylReport(0x0A, 0, 0, data, 235), EFI_INVALID_PARAMETER) << "the 8-bit length would wrap";
  EXPECT_EQ(p.probe->SendDylMsgWorker(nullptr, 5), EFI_INVALID_PARAMETER);
  EXPECT_EQ(p.probe->SendDylMsgWorker(data, 0), EFI_INVALID_PARAMETER);
  EXPECT_TRUE(p.relay.sent.empty());
  EXPECT_NE(p.boot.platform().debug.log().find("SendDylMsgWorker EFI_INVALID_PARAMETER\n"), std::string::npos);
}

TEST(ZubDylLib, RelayStatusIsTheReportsStatus) {
  ProbeBoot p;
  p.relay.answer = EFI_DEVICE_ERROR;
  UINT8 data[1] = {2};
  EXPECT_EQ(p.probe->DylReport(0x0A, 0, 0, data, 1), EFI_DEVICE_ERROR);
  EXPECT_EQ(p.relay.sent.size(), 1u) << "sent once, no retry";
  EXPECT_NE(p.boot.platform().debug.log().find("Send Dyl message status: Device Error\n"), std::string::npos);
}

TEST(ZubDylLib, WithoutTheRelayTheWorkerAssertsAndSendsNothing) {
  ProbeBoot p(false, true, 0x80, false);
  UINT8 data[1] = {1};
  EXPECT_EQ(p.probe->DylReport(0x0A, 0, 0, data, 1), EFI_NOT_FOUND);
  EXPECT_GE(p.boot.platform().debug.assertions(), 1u);
}

}  // namespace
}  // namespace zub
