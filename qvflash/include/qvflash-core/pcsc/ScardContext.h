#pragma once

#include <PCSC/winscard.h>

namespace qvfl {

// An established PC/SC context, released on destruction.
class ScardContext {
public:
    // Throws PcscException naming raisingFunction when no context can be had.
    explicit ScardContext(const char* raisingFunction);
    ~ScardContext();
    // Owns the context: a copy would release it twice.
    ScardContext(const ScardContext&) = delete;
    ScardContext& operator=(const ScardContext&) = delete;

    SCARDCONTEXT get() const { return context; }
    void swap(ScardContext& other) noexcept;

private:
    SCARDCONTEXT context = 0;
};

} // namespace qvfl
