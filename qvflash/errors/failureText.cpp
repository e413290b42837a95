#include <qvflash-core/errors/failureText.h>

#include <cstdint>
#include <cstdio>
#include <variant>

namespace qvfl {

std::string failureText(const Exception& failure)
{
    std::string text = failure.what();
    for (const Condition& condition : failure.conditions()) {
        if (const auto* note = std::get_if<std::string>(&condition.detail())) {
            text += ": " + *note;
        } else if (condition.code() == QVFLASH_COND_APDU_STATUS) {
            char word[5];
            std::snprintf(word, sizeof word, "%04X", static_cast<unsigned>(std::get<std::int64_t>(condition.detail())));
            text += std::string(", status word ") + word;
        }
    }
    return text;
}

} // namespace qvfl
