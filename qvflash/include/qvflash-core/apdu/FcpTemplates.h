#pragma once

#include <qvflash-core/CoreSecureType.h>

#include <cstdint>
#include <vector>

namespace qvfl::FCP {

// CREATE FILE data for a new MVA record file. The caller checks the ranges.
std::vector<std::uint8_t> getMvaTemplateDataVector(std::uint16_t fileId, std::uint8_t recordCount,
                                                   std::uint8_t recordSize, std::uint8_t attempts);

// CREATE FILE data for a new local PIN file. The caller checks the ranges.
std::vector<std::uint8_t> getLocalPinTemplateDataVector(std::uint16_t fileId, std::uint16_t fileSize,
                                                        std::uint8_t minLength, std::uint8_t attempts,
                                                        CoreSecureType type);

} // namespace qvfl::FCP
