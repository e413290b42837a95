#include "Disk.h"

#include "../linux/hostFiles.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

namespace platform {
namespace fs = std::filesystem;
namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool hasComponent(const fs::path& path, bool (*matches)(std::string_view))
{
    return std::any_of(path.begin(), path.end(), [matches](const fs::path& part) { return matches(part.native()); });
}

// A prefix followed by a digit, as in "ata1" or "fw0".
bool numbered(std::string_view name, std::string_view prefix)
{
    return startsWith(name, prefix) && name.size() > prefix.size() &&
           std::isdigit(static_cast<unsigned char>(name[prefix.size()]));
}

bool notADisk(std::string_view name)
{
    constexpr std::string_view kPrefixes[] = {"loop", "ram", "zram", "dm-", "md", "sr", "nbd", "mmcblk"};
    return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                       [name](std::string_view prefix) { return startsWith(name, prefix); });
}

bool onExcludedBus(const fs::path& blockPath)
{
    return hasComponent(blockPath, [](std::string_view part) {
        return startsWith(part, "virtio") || numbered(part, "usb") || numbered(part, "fw");
    });
}

// Empty when the disk belongs to no data type.
std::string dataTypeOf(std::string_view name, const fs::path& blockPath, const fs::path& devicePath)
{
    if (startsWith(name, "nvme")) {
        return "SPNVMeDataType";
    }
    if (hasComponent(blockPath, [](std::string_view part) { return numbered(part, "ata"); })) {
        return "SPSerialATADataType";
    }
    if (hasComponent(blockPath, [](std::string_view part) { return startsWith(part, "end_device-"); })) {
        return "SPSASDataType";
    }
    if (fs::exists(devicePath / "scsi_device")) {
        return "SPParallelSCSIDataType";
    }
    return {};
}

// Unit serial number VPD page: 4 header bytes, the page length in bytes 2-3.
std::optional<std::string> vpdSerial(const fs::path& devicePath)
{
    const std::optional<std::string> page = readFile(devicePath / "vpd_pg80");
    if (!page || page->size() < 4) {
        return std::nullopt;
    }
    const std::size_t length = static_cast<unsigned char>((*page)[2]) * 256U + static_cast<unsigned char>((*page)[3]);
    return trimmed(std::string_view(*page).substr(4, length));
}

// udev's record of the block device, named after its major:minor numbers.
std::optional<std::string> udevSerial(const fs::path& blockDir)
{
    const std::optional<std::string> numbers = readFile(blockDir / "dev");
    if (!numbers) {
        return std::nullopt;
    }
    const std::optional<std::string> record = readFile(hostPath("/run/udev/data/b" + trimmed(*numbers)));
    constexpr std::string_view kKey = "E:ID_SERIAL_SHORT=";
    const std::size_t at = record ? record->find(kKey) : std::string::npos;
    if (at == std::string::npos || (at != 0 && (*record)[at - 1] != '\n')) {
        return std::nullopt;
    }
    const std::size_t start = at + kKey.size();
    return trimmed(std::string_view(*record).substr(start, record->find('\n', start) - start));
}

std::optional<std::string> serialOf(const Disk& disk, const fs::path& blockDir, const fs::path& devicePath)
{
    std::optional<std::string> serial;
    if (disk.dataType == "SPNVMeDataType") {
        const std::optional<std::string> text = readFile(devicePath / "serial");
        serial = text ? std::optional<std::string>(trimmed(*text)) : std::nullopt;
    } else {
        serial = vpdSerial(devicePath);
        if (!serial || serial->empty()) {
            serial = udevSerial(blockDir);
        }
    }
    return serial && !serial->empty() ? serial : std::nullopt;
}

// Fixed only when the disk says so and nothing it hangs on is marked removable.
bool detachable(const fs::path& blockDir, const fs::path& devicePath)
{
    if (trimmed(readFile(blockDir / "removable").value_or("")) != "0") {
        return true;
    }
    const fs::path devices = fs::weakly_canonical(hostPath("/sys/devices"));
    for (fs::path at = devicePath; at.has_relative_path() && at != devices; at = at.parent_path()) {
        if (trimmed(readFile(at / "removable").value_or("")) == "removable") {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<Disk> surveyDisks()
{
    std::vector<fs::path> blockDirs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(hostPath("/sys/block"), error)) {
        blockDirs.push_back(entry.path());
    }
    std::sort(blockDirs.begin(), blockDirs.end());

    std::vector<Disk> disks;
    std::set<fs::path> nvmeControllers;
    for (const fs::path& blockDir : blockDirs) {
        const std::string name = blockDir.filename().string();
        std::error_code blockError;
        std::error_code deviceError;
        const fs::path blockPath = fs::canonical(blockDir, blockError);
        // Virtual block devices (loop, ram, zram) have no device.
        const fs::path devicePath = fs::canonical(blockDir / "device", deviceError);
        if (blockError || deviceError || notADisk(name) || onExcludedBus(blockPath)) {
            continue;
        }
        Disk disk{dataTypeOf(name, blockPath, devicePath), std::nullopt, false};
        if (disk.dataType.empty() ||
            (disk.dataType == "SPNVMeDataType" && !nvmeControllers.insert(devicePath).second)) {
            continue;
        }
        disk.serial = serialOf(disk, blockDir, devicePath);
        disk.detachable = detachable(blockDir, devicePath);
        disks.push_back(std::move(disk));
    }
    return disks;
}

} // namespace platform
