#pragma once

#include <qvflash-core/errors/Exception.h>

#include <PCSC/winscard.h>

#include <string>

// A failed PC/SC call: status 2 with the place of the check, the PC/SC code
// as a signed 32-bit value and the same code as eight hexadecimal digits.
class PcscException : public qvfl::Exception {
public:
    // rc is the platform's LONG: only its low 32 bits are the PC/SC code.
    PcscException(LONG rc, const std::string& file, const std::string& function, unsigned long line);
};
