// Listing the ports of a Windows machine, against a stand-in for the system:
// the device list of the NT family and its name filter, and the open tries of
// the other family.

#include "serial/win32/PortListing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The machine that the calls below answer for.
struct FakeSystem {
    DWORD Platform = VER_PLATFORM_WIN32_NT;
    bool VersionFails = false;
    std::string DeviceList;  // zero-terminated names, then an empty one
    DWORD ListNeeds = 0;     // the list fails with too small a buffer below this size
    DWORD ListError = 0;     // the list fails with this, when set
    std::map<std::string, DWORD> OpenErrors;  // names missing here open
    std::vector<std::string> Tried;
    int Closed = 0;
    DWORD LastError = 0;
};
FakeSystem* fake = nullptr;

const HANDLE OpenedPort = reinterpret_cast<HANDLE>(0x1234);

BOOL WINAPI FakeVersion(LPOSVERSIONINFOA info) {
    if (fake->VersionFails || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return FALSE;
    info->dwPlatformId = fake->Platform;
    return TRUE;
}

DWORD WINAPI FakeList(LPCSTR device, LPSTR buffer, DWORD size) {
    if (device != nullptr || fake->ListError != 0) {
        fake->LastError = fake->ListError;
        return 0;
    }
    if (size < fake->ListNeeds || size < fake->DeviceList.size()) {
        fake->LastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    fake->DeviceList.copy(buffer, fake->DeviceList.size());
    return static_cast<DWORD>(fake->DeviceList.size());
}

HANDLE WINAPI FakeOpen(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE model) {
    fake->Tried.push_back(name);
    EXPECT_EQ(access, GENERIC_READ | GENERIC_WRITE);
    EXPECT_EQ(share, 0u);
    EXPECT_EQ(security, nullptr);
    EXPECT_EQ(disposition, static_cast<DWORD>(OPEN_EXISTING));
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(model, nullptr);
    const auto error = fake->OpenErrors.find(name);
    if (error == fake->OpenErrors.end()) return OpenedPort;
    fake->LastError = error->second;
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI FakeClose(HANDLE handle) {
    EXPECT_EQ(handle, OpenedPort);
    ++fake->Closed;
    return TRUE;
}

DWORD WINAPI FakeLastError() {
    return fake->LastError;
}

std::vector<std::string> ListOn(FakeSystem& system) {
    fake = &system;
    const PortListingCalls calls{FakeVersion, FakeList, FakeOpen, FakeClose, FakeLastError};
    return ListComPorts(calls);
}

std::string Devices(std::initializer_list<const char*> names) {
    std::string list;
    for (const char* name : names) list += std::string(name) + '\0';
    return list + '\0';
}

}  // namespace

// --- The NT family: the system's device list ---

TEST(PortListing, NtTakesNamesBeginningWithCom1ToCom8InThePlatformsOrder) {
    FakeSystem system;
    system.DeviceList = Devices({"COM10", "LPT1", "COM9", "com3", "COM1", "GLOBALROOT", "COM8x"});
    EXPECT_THAT(ListOn(system), ElementsAre("COM10", "COM1", "COM8x"));
    EXPECT_THAT(system.Tried, IsEmpty());
}

// A machine with many devices has a longer list than 65535 characters; it used
// to list no port at all.
TEST(PortListing, NtListTooLongForTheFirstBufferIsAskedForAgain) {
    FakeSystem system;
    system.DeviceList = Devices({"COM3", "COM4"});
    system.ListNeeds = 200000;
    EXPECT_THAT(ListOn(system), ElementsAre("COM3", "COM4"));
}

TEST(PortListing, NtListThatFailsGivesNoPortsAndTriesNone) {
    FakeSystem system;
    system.ListError = ERROR_ACCESS_DENIED;
    EXPECT_THAT(ListOn(system), IsEmpty());
    system.ListError = 0;
    system.ListNeeds = 0xFFFFFFFF;  // never fits
    EXPECT_THAT(ListOn(system), IsEmpty());
    EXPECT_THAT(system.Tried, IsEmpty());
}

// --- The other family: opening COM1 to COM8 ---

TEST(PortListing, OtherFamilyListsWhatOpensOrIsDeniedOrFailingInAscendingOrder) {
    FakeSystem system;
    system.Platform = VER_PLATFORM_WIN32_WINDOWS;
    system.OpenErrors = {{"COM2", ERROR_ACCESS_DENIED},  {"COM3", ERROR_GEN_FAILURE},
                         {"COM4", ERROR_FILE_NOT_FOUND}, {"COM5", ERROR_SHARING_VIOLATION},
                         {"COM6", ERROR_FILE_NOT_FOUND}, {"COM7", ERROR_FILE_NOT_FOUND}};
    EXPECT_THAT(ListOn(system), ElementsAre("COM1", "COM2", "COM3", "COM8"));
    EXPECT_THAT(system.Tried,
                ElementsAre("COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"));
    EXPECT_EQ(system.Closed, 2);  // each port that opened is closed at once

    FakeSystem unknown;  // no version either: the open tries
    unknown.VersionFails = true;
    for (const char* name : {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"})
        unknown.OpenErrors[name] = ERROR_FILE_NOT_FOUND;
    EXPECT_THAT(ListOn(unknown), IsEmpty());
    EXPECT_EQ(unknown.Tried.size(), 8u);
}
