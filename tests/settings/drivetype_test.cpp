// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/drivetype.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace equat;
namespace fs = std::filesystem;

namespace {

// A fake sysfs: /sys/dev/block/MAJ:MIN links to a device folder with a removable flag.
struct FakeSys {
    fs::path root = fs::temp_directory_path() / ("equat-sys-" + std::to_string(::getpid()));
    FakeSys() { fs::remove_all(root); }
    ~FakeSys() { fs::remove_all(root); }
    void Disk(const std::string& devnum, const std::string& devicePath, char removable,
              bool partition) {
        const fs::path disk = root / "devices" / devicePath;
        fs::create_directories(disk);
        std::ofstream(disk / "removable") << removable << '\n';
        fs::path target = disk;
        if (partition) {
            target = disk / "part1";
            fs::create_directories(target);
            std::ofstream(target / "partition") << "1\n";
        }
        fs::create_directories(root / "dev" / "block");
        fs::create_directory_symlink(target, root / "dev" / "block" / devnum);
    }
};

}  // namespace

TEST(SysfsDriveTypeProbe, Devices) {
    FakeSys sys;
    sys.Disk("8:1", "pci0000:00/ata1/host0/block/sda", '0', true);
    sys.Disk("8:17", "pci0000:00/usb1/1-1/host6/block/sdb", '0', true);
    sys.Disk("179:0", "platform/mmc0/block/mmcblk0", '1', false);
    const SysfsDriveTypeProbe probe(sys.root);
    EXPECT_FALSE(probe.IsRemovableDevice(8, 1));
    EXPECT_TRUE(probe.IsRemovableDevice(8, 17));
    EXPECT_TRUE(probe.IsRemovableDevice(179, 0));
    EXPECT_FALSE(probe.IsRemovableDevice(0, 42));  // not a block device
}

TEST(SysfsDriveTypeProbe, MissingFileIsNotRemovable) {
    const SysfsDriveTypeProbe probe;
    EXPECT_FALSE(probe.IsRemovable("/nonexistent/equat"));
}
