// The PEI services as modules rely on them, driven through the services table itself.
#include <gtest/gtest.h>

#include <Library/HobLib.h>

#include "Foundation/FirmwareVolume.h"
#include "Foundation/Guid.h"
#include "Foundation/PeiCore.h"

namespace zub {
namespace {

EFI_GUID kA = {0x11111111, 0x1111, 0x1111, {1, 1, 1, 1, 1, 1, 1, 1}};
EFI_GUID kB = {0x22222222, 0x2222, 0x2222, {2, 2, 2, 2, 2, 2, 2, 2}};
constexpr UINTN kPpiLast = EFI_PEI_PPI_DESCRIPTOR_PPI | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST;
constexpr UINTN kNotifyLast = EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK | EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST;

struct Fixture : ::testing::Test {
  Machine machine;
  EventLog events{machine.clock};
  PeiCore core{machine, events};
  const EFI_PEI_SERVICES** s = core.services();
  void SetUp() override { core.activate(); }
};

std::vector<std::string> gCalls;

TEST_F(Fixture, LocateFindsEachInstanceInInstallationOrder) {
  int first = 1, second = 2;
  EFI_PEI_PPI_DESCRIPTOR list[2] = {{EFI_PEI_PPI_DESCRIPTOR_PPI, &kA, &first}, {kPpiLast, &kA, &second}};
  ASSERT_EQ((*s)->InstallPpi(s, list), EFI_SUCCESS);
  void* p = nullptr;
  EFI_PEI_PPI_DESCRIPTOR* d = nullptr;
  EXPECT_EQ((*s)->LocatePpi(s, &kA, 0, &d, &p), EFI_SUCCESS);
  EXPECT_EQ(p, &first);
  EXPECT_EQ(d, &list[0]);
  EXPECT_EQ((*s)->LocatePpi(s, &kA, 1, nullptr, &p), EFI_SUCCESS);
  EXPECT_EQ(p, &second);
  EXPECT_EQ((*s)->LocatePpi(s, &kA, 2, nullptr, &p), EFI_NOT_FOUND);
  EXPECT_EQ((*s)->LocatePpi(s, &kB, 0, nullptr, &p), EFI_NOT_FOUND);
}

TEST_F(Fixture, InstallRefusesADescriptorWithoutThePpiFlagAndInstallsNothing) {
  int v = 0;
  EFI_PEI_PPI_DESCRIPTOR list[2] = {{EFI_PEI_PPI_DESCRIPTOR_PPI, &kA, &v},
                                    {EFI_PEI_PPI_DESCRIPTOR_TERMINATE_LIST, &kB, &v}};
  EXPECT_EQ((*s)->InstallPpi(s, list), EFI_INVALID_PARAMETER);
  EXPECT_FALSE(core.isInstalled(kA));
}

EFI_STATUS EFIAPI RecordNotify(EFI_PEI_SERVICES**, EFI_PEI_NOTIFY_DESCRIPTOR* d, VOID* ppi) {
  gCalls.push_back((d->Guid == &kA ? "A:" : "B:") + std::to_string(*static_cast<int*>(ppi)));
  return EFI_SUCCESS;
}

TEST_F(Fixture, NotificationRunsOnceAtInstallOrAtOnceWhenAlreadyInstalled) {
  gCalls.clear();
  int a = 7, b = 9, a2 = 8;
  EFI_PEI_PPI_DESCRIPTOR pa = {kPpiLast, &kA, &a}, pb = {kPpiLast, &kB, &b}, pa2 = {kPpiLast, &kA, &a2};
  ASSERT_EQ((*s)->InstallPpi(s, &pa), EFI_SUCCESS);
  EFI_PEI_NOTIFY_DESCRIPTOR n[2] = {{EFI_PEI_PPI_DESCRIPTOR_NOTIFY_CALLBACK, &kA, RecordNotify},
                                    {kNotifyLast, &kB, RecordNotify}};
  ASSERT_EQ((*s)->NotifyPpi(s, n), EFI_SUCCESS);
  EXPECT_EQ(gCalls, std::vector<std::string>{"A:7"});   // at once: A is already there
  ASSERT_EQ((*s)->InstallPpi(s, &pb), EFI_SUCCESS);
  ASSERT_EQ((*s)->InstallPpi(s, &pa2), EFI_SUCCESS);   // a second A does not run the callback again
  EXPECT_EQ(gCalls, (std::vector<std::string>{"A:7", "B:9"}));
}

std::vector<uint32_t> gCodes;
EFI_STATUS EFIAPI ListenerOne(const EFI_PEI_SERVICES**, EFI_STATUS_CODE_TYPE, EFI_STATUS_CODE_VALUE v, UINT32,
                              const EFI_GUID*, const EFI_STATUS_CODE_DATA*) {
  gCodes.push_back(0x100 + v);
  return EFI_SUCCESS;
}
EFI_STATUS EFIAPI ListenerTwo(const EFI_PEI_SERVICES**, EFI_STATUS_CODE_TYPE, EFI_STATUS_CODE_VALUE v, UINT32,
                              const EFI_GUID*, const EFI_STATUS_CODE_DATA*) {
  gCodes.push_back(0x200 + v);
  return EFI_SUCCESS;
}

TEST_F(Fixture, StatusCodesReachEveryListenerInRegistrationOrder) {
  gCodes.clear();
  EFI_PEI_RSC_HANDLER_PPI* rsc = nullptr;
  ASSERT_EQ((*s)->LocatePpi(s, &gEfiPeiRscHandlerPpiGuid, 0, nullptr, (VOID**)&rsc), EFI_SUCCESS);
  ASSERT_EQ(rsc->Register(ListenerTwo), EFI_SUCCESS);
  ASSERT_EQ(rsc->Register(ListenerOne), EFI_SUCCESS);
  EXPECT_EQ(rsc->Register(ListenerOne), EFI_ALREADY_STARTED);
  (*s)->ReportStatusCode(s, EFI_PROGRESS_CODE, 1, 0, nullptr, nullptr);
  ASSERT_EQ(rsc->Unregister(ListenerTwo), EFI_SUCCESS);
  (*s)->ReportStatusCode(s, EFI_PROGRESS_CODE, 2, 0, nullptr, nullptr);
  EXPECT_EQ(gCodes, (std::vector<uint32_t>{0x201, 0x101, 0x102}));
  EXPECT_EQ(events.ofType("status_code").size(), 2u);
}

TEST_F(Fixture, CreatedGuidHobsAreFoundByAWalkOfTheList) {
  VOID* hob = nullptr;
  ASSERT_EQ((*s)->CreateHob(s, EFI_HOB_TYPE_GUID_EXTENSION, sizeof(EFI_HOB_GUID_TYPE) + 5, &hob), EFI_SUCCESS);
  reinterpret_cast<EFI_HOB_GUID_TYPE*>(hob)->Name = kB;
  ASSERT_EQ((*s)->CreateHob(s, EFI_HOB_TYPE_GUID_EXTENSION, sizeof(EFI_HOB_GUID_TYPE) + 16, &hob), EFI_SUCCESS);
  reinterpret_cast<EFI_HOB_GUID_TYPE*>(hob)->Name = kA;
  VOID* list = nullptr;
  ASSERT_EQ((*s)->GetHobList(s, &list), EFI_SUCCESS);
  EXPECT_EQ(static_cast<EFI_HOB_GENERIC_HEADER*>(list)->HobType, EFI_HOB_TYPE_HANDOFF);
  // GetNextGuidHob of the base library, over the services of this core.
  VOID* found = GetNextGuidHob(&kA, list);
  ASSERT_EQ(found, hob);
  EXPECT_EQ(GET_GUID_HOB_DATA_SIZE(found), 16);
  auto b = static_cast<EFI_HOB_GENERIC_HEADER*>(GetNextGuidHob(&kB, list));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->HobLength, 32) << "lengths are rounded up to 8 bytes";
  EXPECT_EQ((*s)->CreateHob(s, EFI_HOB_TYPE_GUID_EXTENSION, 4, &hob), EFI_OUT_OF_RESOURCES);
}

struct FlashAt : MemoryDevice {
  std::vector<uint8_t> bytes;
  uint64_t read(uint64_t o, unsigned n) override { return loadLe(bytes.data() + o, n); }
  void write(uint64_t, unsigned, uint64_t) override {}
  uint8_t* hostPointer(uint64_t o, uint64_t) override { return bytes.data() + o; }
};

TEST_F(Fixture, FirmwareVolumeWalksFindFilesAndRawSectionsInBothSizeForms) {
  FirmwareVolumeBuilder fvb;
  std::vector<uint8_t> small(100, 0x5A), big(70000, 0xA5);
  fvb.addFile(kA, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_USER_INTERFACE, {1, 2}}, {EFI_SECTION_RAW, small}});
  fvb.addFile(kB, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_RAW, big}}, /*largeHeaders=*/true);
  FlashAt flash;
  flash.bytes = fvb.build();
  FixedRange range(0xFF000000, flash.bytes.size(), &flash);
  machine.memory.add(&range);
  core.addFirmwareVolume(0xFF000000, flash.bytes.size());

  EFI_PEI_FV_HANDLE fv = nullptr;
  ASSERT_EQ((*s)->FfsFindNextVolume(s, 0, &fv), EFI_SUCCESS);
  EXPECT_EQ((*s)->FfsFindNextVolume(s, 1, &fv), EFI_NOT_FOUND);
  ASSERT_EQ((*s)->FfsFindNextVolume(s, 0, &fv), EFI_SUCCESS);
  for (auto [guid, expected] : {std::pair{&kA, &small}, std::pair{&kB, &big}}) {
    EFI_PEI_FILE_HANDLE file = nullptr;
    ASSERT_EQ((*s)->FfsFindFileByName(guid, fv, &file), EFI_SUCCESS);
    VOID* data = nullptr;
    ASSERT_EQ((*s)->FfsFindSectionData(s, EFI_SECTION_RAW, file, &data), EFI_SUCCESS);
    EXPECT_EQ(std::memcmp(data, expected->data(), expected->size()), 0);
    EXPECT_EQ((*s)->FfsFindSectionData(s, EFI_SECTION_PE32, file, &data), EFI_NOT_FOUND);
  }
  EFI_GUID missing = {3};
  EFI_PEI_FILE_HANDLE file = nullptr;
  EXPECT_EQ((*s)->FfsFindFileByName(&missing, fv, &file), EFI_NOT_FOUND);
}

TEST(FirmwareVolumeWalk, ASectionSizeRunningPastItsFileEndsTheWalk) {
  FirmwareVolumeBuilder fvb;
  fvb.addFile(kA, EFI_FV_FILETYPE_FREEFORM, {{EFI_SECTION_RAW, std::vector<uint8_t>(16, 1)}});
  auto fv = fvb.build();
  auto files = listFfsFiles(fv.data(), fv.size());
  ASSERT_EQ(files.size(), 1u);
  auto* section = const_cast<uint8_t*>(files[0].header + files[0].headerSize);
  section[0] = 0xF0;   // 240 bytes: past the end of the file
  EXPECT_EQ(findSectionData(files[0], EFI_SECTION_RAW), nullptr);
  auto* header = const_cast<uint8_t*>(files[0].header);
  header[20] = 0xFF, header[21] = 0xFF, header[22] = 0x7F;   // file larger than the volume
  EXPECT_TRUE(listFfsFiles(fv.data(), fv.size()).empty());
}

}  // namespace
}  // namespace zub
