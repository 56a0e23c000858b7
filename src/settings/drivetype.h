// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <string>

namespace equat {

// Whether a file lies on a removable drive (a USB stick, a memory card). Behind an
// interface so that tests and other platforms can answer it.
class DriveTypeProbe {
  public:
    virtual ~DriveTypeProbe() = default;
    virtual bool IsRemovable(const std::filesystem::path& file) const = 0;
};

// Linux: the block device that holds the file is removable, or sits on a USB bus.
class SysfsDriveTypeProbe final : public DriveTypeProbe {
  public:
    // sysRoot lets tests point at a fake /sys tree.
    explicit SysfsDriveTypeProbe(std::filesystem::path sysRoot = "/sys")
        : sys_(std::move(sysRoot)) {}
    bool IsRemovable(const std::filesystem::path& file) const override;

    // The decision for a device number, from the sysfs tree.
    bool IsRemovableDevice(unsigned major, unsigned minor) const;

  private:
    std::filesystem::path sys_;
};

}  // namespace equat
