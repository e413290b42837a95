#include <platform/hostCalls.h>

#include "cpuFacts.h"
#include "osRelease.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
namespace {

// A value as the system hands it out: its bytes, or nothing when this host
// has no source for it.
using Value = std::optional<std::string>;

// A text value ends with its NUL, which counts in its length.
Value textValue(const std::optional<std::string>& text)
{
    return text ? Value(std::string(text->c_str(), text->size() + 1)) : std::nullopt;
}

Value int32Value(std::optional<std::int32_t> number)
{
    if (!number) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(&*number), sizeof *number);
}

struct Key {
    std::string_view name;
    Value (*read)();
};

// The names this host answers; each is one entry.
const Key kKeys[] = {
    {"machdep.cpu.brand_string", [] { return textValue(cpuBrandString()); }},
    {"hw.packages", [] { return int32Value(cpuPackageCount()); }},
    {"kern.osproductversion", [] { return textValue(osReleaseField("VERSION_ID")); }},
};

int fail(int error)
{
    errno = error;
    return -1;
}

} // namespace

int sysctlbyname(const char* name, void* value, std::size_t* length, void* newValue, std::size_t /*newLength*/)
{
    if (name == nullptr || length == nullptr) {
        return fail(EINVAL);
    }
    // Every name here is read-only.
    if (newValue != nullptr) {
        return fail(EPERM);
    }
    const auto key =
        std::find_if(std::begin(kKeys), std::end(kKeys), [name](const Key& entry) { return entry.name == name; });
    if (key == std::end(kKeys)) {
        return fail(ENOENT);
    }
    Value bytes;
    try {
        bytes = key->read();
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM);
    } catch (...) {
        return fail(EIO);
    }
    if (!bytes) {
        return fail(ENOENT);
    }
    if (value != nullptr) {
        if (bytes->size() > *length) {
            return fail(ENOMEM);
        }
        std::memcpy(value, bytes->data(), bytes->size());
    }
    *length = bytes->size();
    return 0;
}

} // namespace platform
