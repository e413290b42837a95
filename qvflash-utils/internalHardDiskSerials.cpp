#include <qvflash-utils-core/commandOutput.h>
#include <qvflash-utils-core/hostQueries.h>

#include <cerrno>
#include <exception>
#include <system_error>

namespace qvfl_utils::detail {

std::vector<std::string> internalHardDiskSerials(const std::string& profiler)
{
    static const std::vector<std::string> spDataTypes = {"SPNVMeDataType", "SPSASDataType", "SPParallelSCSIDataType",
                                                         "SPSerialATADataType", "SPParallelATADataType"};
    std::vector<std::string> serials;
    for (const std::string& dataType : spDataTypes) {
        try {
            // The exit status says nothing here: a data type the profiler does not know, or
            // without devices, gives no output either way.
            const std::string output =
                commandOutput(profiler + " " + dataType + " | egrep 'Serial Number|Detachable Drive'");
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
