#pragma once

#include "token/types/VolumeParams.h"

#include <string>
#include <vector>

struct FormatDriveParams {
    // The admin PIN.
    std::string authPin;
    std::vector<VolumeParams> volumes;
};
