#include <qvflash-utils-core/hostQueries.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <memory>
#include <system_error>

namespace qvfl_utils::detail {
namespace {

struct PipeCloser {
    void operator()(std::FILE* pipe) const { pclose(pipe); }
};

// The whole standard output of a shell command. Its exit status says nothing
// here: a data type the profiler does not know, or without devices, gives no
// output either way.
std::string readCommandOutput(const std::string& command)
{
    const std::unique_ptr<std::FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    if (!pipe) {
        throw std::system_error(errno, std::system_category(), command);
    }
    std::array<char, 512> buffer;
    std::string output;
    // A line longer than the buffer arrives in pieces, all appended.
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) {
        output += buffer.data();
    }
    return output;
}

} // namespace

std::vector<std::string> internalHardDiskSerials(const std::string& profiler)
{
    static const std::vector<std::string> spDataTypes = {"SPNVMeDataType", "SPSASDataType", "SPParallelSCSIDataType",
                                                         "SPSerialATADataType", "SPParallelATADataType"};
    std::vector<std::string> serials;
    for (const std::string& dataType : spDataTypes) {
        try {
            const std::string output =
                readCommandOutput(profiler + " " + dataType + " | egrep 'Serial Number|Detachable Drive'");
            for (std::string& serial : internalSerials(output)) {
                serials.push_back(std::move(serial));
            }
        } catch (const std::exception&) {
            // A failed system call (std::system_error) and every other standard
            // failure go on unchanged.
            throw;
        } catch (...) {
            throw std::system_error(errno, std::system_category(), "system_profiler error");
        }
    }
    return serials;
}

} // namespace qvfl_utils::detail
