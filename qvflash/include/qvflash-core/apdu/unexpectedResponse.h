#pragma once

#include <qvflash-core/errors/Exception.h>

namespace qvfl {

constexpr char kResponseLengthMismatch[] = "the response length didn't match the expected";

// A card answer with status 9000 whose data the library cannot use: status
// 100024 with the text as the response condition.
Exception unexpectedResponse(const char* text);

} // namespace qvfl
