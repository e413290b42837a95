#pragma once

#include "logging/Descriptor.h"

#include <filesystem>
#include <string>
#include <vector>

namespace logging {

// The folder that holds a log or PIN file, opened so that no user but this process's effective
// user or root can remove or replace the file in it: every folder on the way from the root down
// must be owned by that user or root and must not be writable by group or others unless it has
// the sticky bit. A folder that another user could write lets them rename the folder below away
// and put one of their own in its place, so checking the file's own folder alone is not enough.
//
// Each folder is opened relative to the descriptor of the one above it, follows no link, and is
// checked through its own descriptor; the file is then opened through the last one. No folder can
// be swapped in between the check and the use: both see the same folder.
//
// The walk follows the path as written and reads each link on it itself, so it checks both the
// folders that hold links and those of the links' targets, which really hold the file: whoever
// may write a folder that holds a link could point the link elsewhere before each write. A link
// of another user's is refused where they could replace it, in a folder that others may write
// (the sticky bit leaves a link to its owner); elsewhere it is followed as any link. A refused
// folder or link is named by its absolute path with the links resolved.
class CheckedFolder {
public:
    // What the walk does when the file's folder is missing while the one above it exists: leave
    // it, or make it owner-only, since it may receive generated PINs. It is judged by the folder
    // it is made in, and made only for a file name that the file system takes. A folder missing
    // higher up is never made.
    enum class Missing { Leave, Make };

    CheckedFolder(const std::string& filePath, Missing missing);

    // The file's folder, for the *at calls; -1 when the walk did not reach it.
    int descriptor() const { return reached_ ? folder_.get() : -1; }
    // 0 when the folder was reached; EPERM when a folder or link on the way was refused;
    // ENAMETOOLONG when a name on the way or the file's is longer than the file system takes;
    // otherwise the system error number of the step that failed (ENOENT for a missing folder).
    int error() const { return error_; }
    // The file's path as messages name it: absolute, through the folders as the walk resolved
    // them, the rest as written; a "." or ".." file name names the folder it stands for. It
    // cannot be read as another path.
    const std::string& filePath() const { return filePath_; }
    // Raises ForeignFolderError, UnsafeFolderError or ForeignLinkError naming the first refused
    // folder or link, FolderNotFoundError naming the highest missing folder that is not to be
    // made, or NameTooLongError naming the file; does nothing when none applies.
    void raiseRefusal() const;
    // True when the folder holds something under the path's file name, judged through the
    // folder's descriptor without following a link, or when that cannot be told: opening it then
    // names the failure. False when the walk did not reach the folder.
    bool holdsFile(const std::string& path) const;
    // True when a file can be made in the folder, or in the missing folder that Missing::Make
    // would make, by this process's effective ids: permission bits do not stop root, a read-only
    // mount does.
    bool canTakeFile() const;

private:
    enum class Refusal { None, ForeignOwner, WritableByOthers, ForeignLink };

    // Walks to the folder of the file of that name, leaving on `ahead` the names it did not get
    // to, the next one last.
    void walk(std::filesystem::path folder, const std::filesystem::path& fileName, Missing missing,
              std::vector<std::string>& ahead);
    bool readLink(int at, const std::string& name, std::string& target);
    // False, failing the walk, when the name is longer than the folder's file system takes.
    bool takesName(int folder, const std::filesystem::path& name);
    bool admit(const Descriptor& folder, const std::string& path);
    void refuse(Refusal refusal, const std::string& path);
    void fail(int errorNumber);

    // The deepest folder reached: the file's folder, or the one above it when the file's folder
    // is missing and left so.
    Descriptor folder_;
    bool reached_ = false;
    int error_ = 0;
    Refusal refusal_ = Refusal::None;
    std::string refusedPath_;
    // The highest missing folder, when it is not to be made.
    std::string missingPath_;
    // The absolute path of the deepest folder reached, links resolved.
    std::filesystem::path path_;
    std::string filePath_;
};

} // namespace logging
