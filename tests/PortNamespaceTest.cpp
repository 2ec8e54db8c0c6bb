#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "serial/PortNames.h"
#include "serial/PortNamespace.h"
#include "serial/posix/SystemSerialDevices.h"
#include "support/PtyPair.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::vector<PortEntry>& entries) {
    std::vector<std::string> names;
    for (const PortEntry& entry : entries) names.push_back(entry.Name);
    return names;
}

class DosDevicesTest : public ::testing::Test {
protected:
    DosDevicesTest() { fs::create_directory(Folder()); }
    fs::path Folder() const { return base.Path() / "dosdevices"; }
    void Link(const std::string& name, const fs::path& target) const {
        fs::create_symlink(target, Folder() / name);
    }

    ScratchFolder base;
};

}  // namespace

// --- Listing the dosdevices folder ---

TEST_F(DosDevicesTest, ListsOnlyNamesThatBeginWithCom1ToCom8) {
    for (const char* name : {"COM1", "COM10", "COM9", "COM12", "com2", "COM", "LPT1", "COM0"})
        Link(name, "/dev/null");
    EXPECT_EQ(Names(ListPortEntries(base.Path())),
              (std::vector<std::string>{"COM1", "COM10", "COM12"}));
}

TEST_F(DosDevicesTest, ListsInNaturalOrderWhateverTheFolderOrder) {
    for (const char* name : {"COM10", "COM2", "COM1", "COM3", "COM21"}) Link(name, "/dev/null");
    EXPECT_EQ(Names(ListPortEntries(base.Path())),
              (std::vector<std::string>{"COM1", "COM2", "COM3", "COM10", "COM21"}));
}

TEST_F(DosDevicesTest, EntriesCarryTheDevicesTheirLinksNameCountedFromTheFolder) {
    Link("COM1", "/dev/ttyUSB0");
    Link("COM2", "../pts/7");
    const auto entries = ListPortEntries(base.Path());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Device, "/dev/ttyUSB0");
    EXPECT_EQ(entries[1].Device, (base.Path() / "pts/7").string());
    EXPECT_EQ(ResolvePortName("COM2", base.Path()), entries[1].Device);
}

TEST_F(DosDevicesTest, EmptyFolderListsNothingAndDoesNotFallBack) {
    EXPECT_TRUE(ListPortEntries(base.Path()).empty());
    EXPECT_EQ(ResolvePortName("COM1", base.Path()), "");
}

// Only nothing at all under the name hands the choice to the system's devices;
// anything there that cannot be listed means no ports.
TEST(PortNamespace, DosdevicesThatIsNoUsableFolderListsNothing) {
    ScratchFolder base;
    const fs::path folder = base.Path() / "dosdevices";
    const auto expectNothing = [&](const char* what) {
        EXPECT_TRUE(ListPortEntries(base.Path()).empty()) << what;
        EXPECT_EQ(ResolvePortName("COM1", base.Path()), "") << what;
    };
    std::ofstream(folder) << "not a folder";
    expectNothing("a plain file");
    fs::remove(folder);
    fs::create_symlink(base.Path() / "missing", folder);
    expectNothing("a link to nothing");
    fs::remove(folder);
    fs::create_symlink("dosdevices", folder);
    expectNothing("a link to itself");

    fs::remove(folder);
    fs::create_directory(base.Path() / "ports");
    fs::create_symlink("/dev/null", base.Path() / "ports" / "COM2");
    fs::create_symlink("ports", folder);
    EXPECT_EQ(Names(ListPortEntries(base.Path())), std::vector<std::string>{"COM2"})
        << "a link to a folder is that folder";
}

// --- Resolving names ---

TEST_F(DosDevicesTest, DevicePathsPassThroughAsTheyStand) {
    EXPECT_EQ(ResolvePortName("/dev/pts/7", base.Path()), "/dev/pts/7");
    EXPECT_EQ(ResolvePortName("/no/such/device", base.Path()), "/no/such/device");
}

TEST_F(DosDevicesTest, NamesThatWouldReachOutsideTheFolderResolveToNothing) {
    Link("COM1", "/dev/null");
    fs::create_symlink("/dev/zero", base.Path() / "outside");
    EXPECT_EQ(ResolvePortName("COM1", base.Path()), "/dev/null");
    const std::vector<std::string> names{"",
                                         ".",
                                         "..",
                                         "../outside",
                                         "COM1/",
                                         std::string("COM1\0/x", 7),
                                         std::string("/dev/null\0x", 11),
                                         "COM4"};
    for (const std::string& name : names)
        EXPECT_EQ(ResolvePortName(name, base.Path()), "") << '"' << name << '"';
}

TEST(PortNamespace, UnlistedNameWithALinkStillResolves) {
    // Like opening COM9 by name: it is not offered, but it can be opened.
    ScratchFolder base;
    fs::create_directory(base.Path() / "dosdevices");
    fs::create_symlink("/dev/ttyS3", base.Path() / "dosdevices" / "COM9");
    EXPECT_EQ(ResolvePortName("COM9", base.Path()), "/dev/ttyS3");
}

// --- Natural order ---

TEST(PortNames, NaturalOrderComparesDigitRunsByValue) {
    EXPECT_TRUE(NaturalLess("COM2", "COM10"));
    EXPECT_FALSE(NaturalLess("COM10", "COM2"));
    EXPECT_TRUE(NaturalLess("ttyS9", "ttyS10"));
    EXPECT_TRUE(NaturalLess("COM1", "COM1a"));
    // Longer than any integer: must not overflow into a wrong order.
    EXPECT_TRUE(NaturalLess("COM99999999999999999999", "COM100000000000000000000"));
    // Same value, different spelling: still a strict order, one way only.
    EXPECT_NE(NaturalLess("COM01", "COM1"), NaturalLess("COM1", "COM01"));
    EXPECT_FALSE(NaturalLess("COM1", "COM1"));
}

// --- Fallback without a dosdevices folder ---

TEST(SystemSerialDevices, UsbAdaptersComeFirstThenBuiltInPorts) {
    ScratchFolder dev;
    for (const char* name : {"ttyS10", "ttyS2", "ttyS0", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty1",
                             "ttyS", "ttySAC0", "ttyUSB10", "console", "ttyUSBx"})
        std::ofstream(dev.Path() / name);
    std::vector<std::string> expected;
    for (const char* name :
         {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS2", "ttyS10"})
        expected.push_back((dev.Path() / name).string());
    EXPECT_EQ(SystemSerialDevices(dev.Path()), expected);
}

// EIO is what a ttyS* name without a UART behind it answers: no port.
TEST(SystemSerialDevices, FallbackKeepsOnlyOpenBusyAndDeniedDevicesAndStopsAtEight) {
    const std::map<std::string, int> errors{
        {"d1", 0},      {"d2", EACCES}, {"d3", EPERM}, {"d4", EBUSY}, {"d5", EIO},
        {"d6", ENOENT}, {"d7", ENXIO},  {"d8", 0},     {"d9", 0},     {"d10", 0}};
    std::vector<std::string> devices{"d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"};
    std::vector<std::string> tried;
    const auto entries = FallbackPortEntries(devices, [&](const std::string& device) {
        tried.push_back(device);
        return errors.at(device);
    });
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM8"}));
    EXPECT_EQ(entries.back().Device, "d8");
    EXPECT_EQ(tried.size(), 8u) << "only the first eight devices are ports";

    EXPECT_EQ(FallbackDevice("COM6", devices), "d6");  // not listed, but it is its name
    EXPECT_EQ(FallbackDevice("COM9", devices), "");
    EXPECT_EQ(FallbackDevice("COM12", devices), "");
    EXPECT_EQ(FallbackDevice("COM3", {"d1"}), "");
}

// A pseudo-terminal refuses TIOCGSERIAL, as some serial drivers do: a refusal
// says nothing about the port, so a device that opened stays.
TEST(SystemSerialDevices, BuiltInPortWhoseDriverWillNotTellItsTypeCountsAsPresent) {
    PtyPair pty;
    ScratchFolder dev;
    fs::create_symlink(pty.Device(), dev.Path() / "ttyS0");
    EXPECT_EQ(TryOpenDevice((dev.Path() / "ttyS0").string()), 0);
    EXPECT_EQ(TryOpenDevice((dev.Path() / "ttyS1").string()), ENOENT);
}

// An adapter is asked for low latency however its port is reached: through a
// dosdevices link to its /dev/serial/by-id name, and under a driver that
// names its devices otherwise than ttyUSB*, which sysfs shows on a USB bus.
TEST(SystemSerialDevices, AUsbAdapterIsKnownThroughLinksAndByItsBus) {
    ScratchFolder root;
    const fs::path dev = root.Path() / "dev", sys = root.Path() / "sys" / "class" / "tty";
    fs::create_directories(dev / "serial" / "by-id");
    fs::create_directories(root.Path() / "dosdevices");
    const auto device = [&](const std::string& name, const std::string& bus) {
        WriteBytes(dev / name, "");
        fs::create_directories(root.Path() / "sys" / "devices" / bus);
        fs::create_directories(sys / name);
        fs::create_directory_symlink("../../../devices/" + bus, sys / name / "device");
        fs::create_symlink("../../" + name, dev / "serial" / "by-id" / ("id-" + name));
        fs::create_symlink(dev / "serial" / "by-id" / ("id-" + name),
                           root.Path() / "dosdevices" / name);
        return (root.Path() / "dosdevices" / name).string();
    };
    const std::string usb = device("ttyUSB0", "platform/serial8250");  // by its name alone
    const std::string exar = device("ttyXRUSB0", "pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0");
    const std::string builtIn = device("ttyS0", "platform/serial8250");
    EXPECT_TRUE(IsUsbSerialDevice(usb, sys));
    EXPECT_TRUE(IsUsbSerialDevice(exar, sys));
    EXPECT_FALSE(IsUsbSerialDevice(builtIn, sys));
    EXPECT_FALSE(IsUsbSerialDevice((dev / "missing").string(), sys));
    PtyPair pty;
    EXPECT_FALSE(IsUsbSerialDevice(pty.Device(), sys));
}

// The system's devices live in a folder of the test's own, so that this runs
// the same on a machine without serial ports.
TEST(PortNamespace, WithoutDosdevicesTheSystemDevicesStandForCom1ToCom8) {
    PtyPair usb, builtIn;
    ScratchFolder base, dev;
    fs::create_symlink(builtIn.Device(), dev.Path() / "ttyS0");
    fs::create_symlink(dev.Path() / "gone", dev.Path() / "ttyS1");  // no port behind the name
    fs::create_symlink(usb.Device(), dev.Path() / "ttyUSB0");
    std::ofstream(dev.Path() / "tty1");  // not a serial device name
    const auto entries = ListPortEntries(base.Path(), dev.Path());
    ASSERT_EQ(Names(entries), (std::vector<std::string>{"COM1", "COM2"}));
    EXPECT_EQ(entries[0].Device, (dev.Path() / "ttyUSB0").string());
    EXPECT_EQ(entries[1].Device, (dev.Path() / "ttyS0").string());
    for (const PortEntry& entry : entries)
        EXPECT_EQ(ResolvePortName(entry.Name, base.Path(), dev.Path()), entry.Device);
    EXPECT_EQ(ResolvePortName("COM3", base.Path(), dev.Path()), (dev.Path() / "ttyS1").string());
    EXPECT_EQ(ResolvePortName("COM4", base.Path(), dev.Path()), "");
    EXPECT_EQ(ResolvePortName("COM9", base.Path(), dev.Path()), "");
}
