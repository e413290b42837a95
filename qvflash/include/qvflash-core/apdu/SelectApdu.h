#pragma once

#include <qvflash-core/apdu/Apdu.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace qvfl::ApduCommand {

// SELECT (00 A4) asking for the FCP template of the selected file, up to 256 bytes.
class SelectApdu : public Apdu {
public:
    SelectApdu(std::uint8_t p1, std::uint8_t p2, const std::optional<std::vector<std::uint8_t>>& data);
};

// Selects a file by its path from the master file.
class SelectByFullPath : public SelectApdu {
public:
    explicit SelectByFullPath(const std::vector<std::uint16_t>& path);
};

// Selects the first file of the current directory.
class SelectFirstFileApdu : public SelectApdu {
public:
    SelectFirstFileApdu();
};

// Selects the file that follows fileId in the current directory.
class SelectNextFileApdu : public SelectApdu {
public:
    explicit SelectNextFileApdu(std::uint16_t fileId);
};

} // namespace qvfl::ApduCommand
