// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/drivetype.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <string>
#include <system_error>

namespace equat {

namespace fs = std::filesystem;

bool SysfsDriveTypeProbe::IsRemovable(const fs::path& file) const {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return false;
    return IsRemovableDevice(major(st.st_dev), minor(st.st_dev));
}

bool SysfsDriveTypeProbe::IsRemovableDevice(unsigned maj, unsigned min) const {
    std::error_code ec;
    const fs::path link =
        sys_ / "dev" / "block" / (std::to_string(maj) + ":" + std::to_string(min));
    fs::path device = fs::canonical(link, ec);
    if (ec) return false;  // not a block device (tmpfs, overlay, network): not removable
    // A partition's "removable" flag lives on its whole disk, one folder up.
    if (fs::exists(device / "partition", ec)) device = device.parent_path();
    std::ifstream removable(device / "removable");
    char flag = '0';
    if (removable >> flag && flag == '1') return true;
    // USB disks often report 0 yet sit under a usb node of the device tree.
    return device.string().find("/usb") != std::string::npos;
}

}  // namespace equat
