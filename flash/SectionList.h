#pragma once

#include "qvflash.h"

#include <cstdint>
#include <memory>

namespace quorvik::qvflash {

// The sections of a token as the library read them, in ascending id; a snapshot, not refreshed.
class SectionList {
    struct Passkey {};

public:
    static std::shared_ptr<SectionList> create(qvflash_TokenImpl_* token);

    SectionList(Passkey, qvflash_TokenImpl_* token);
    ~SectionList();
    // Owns the library's array; a copy would hand it back twice.
    SectionList(const SectionList&) = delete;
    SectionList& operator=(const SectionList&) = delete;

    const qvflash_Section* cbegin() const { return sections_; }
    const qvflash_Section* cend() const { return sections_ + count_; }
    // The first section with this id, or cend().
    const qvflash_Section* getSectionById(uint8_t id) const;

private:
    qvflash_Section* sections_ = nullptr;
    size_t count_ = 0;
};

} // namespace quorvik::qvflash
