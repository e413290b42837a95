#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// One disk as the profiler reports it.
struct Disk {
    // The profiler data type that lists it.
    std::string dataType;
    std::optional<std::string> serial;
    bool detachable;
};

// The host's disks in the order of their block device names. Virtual and
// optical devices, memory cards, and disks on USB, FireWire or virtio are
// left out; an NVMe controller counts once whatever its namespaces.
std::vector<Disk> surveyDisks();

} // namespace platform
