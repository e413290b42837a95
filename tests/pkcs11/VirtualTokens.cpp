#include "VirtualTokens.h"

#include <qvtoken-core/TokenPresets.h>

#include <cstdlib>
#include <fstream>

namespace quorvik::pkcs11 {

void VirtualTokens::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qvpkcs11-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    trace_ = directory_ / "trace.log";
    std::filesystem::create_directory(directory_ / "tokens");
    setenv("QVTOKEN_STATE_DIR", (directory_ / "tokens").c_str(), 1);
    setenv("QVSTANDIN_TRACE", trace_.c_str(), 1);
}

void VirtualTokens::TearDown()
{
    unsetenv("QVSTANDIN_TRACE");
    unsetenv("QVTOKEN_STATE_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::uint64_t VirtualTokens::addToken(const std::string& preset, std::uint64_t serial, unsigned long slotId,
                                      const std::function<void(qvtoken::TokenState&)>& change)
{
    qvtoken::TokenState token = qvtoken::makePreset(preset);
    token.serial = serial;
    token.slotId = slotId;
    if (change)
        change(token);
    qvtoken::TokenStore(directory_ / "tokens").create(token);
    return serial;
}

void VirtualTokens::modify(std::uint64_t serial, const std::function<void(qvtoken::TokenState&)>& change)
{
    qvtoken::TokenStore(directory_ / "tokens").modify(serial, change);
}

qvtoken::TokenState VirtualTokens::load(std::uint64_t serial) const
{
    return qvtoken::TokenStore(directory_ / "tokens").load(serial).value();
}

void VirtualTokens::addFault(std::uint64_t serial, const std::string& entry, unsigned long rv, unsigned long skip,
                             long times)
{
    modify(serial, [&](qvtoken::TokenState& token) { token.moduleFaults.push_back({entry, rv, skip, times}); });
}

int VirtualTokens::calls(const std::string& entry) const
{
    std::ifstream trace(trace_);
    int count = 0;
    for (std::string line; std::getline(trace, line);) {
        if (line.rfind(entry + ' ', 0) == 0)
            ++count;
    }
    return count;
}

} // namespace quorvik::pkcs11
