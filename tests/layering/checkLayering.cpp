// Checks the program's layering: every include of the given folders, and every link between their
// targets, must follow the allowed edges. The build writes the targets (their sources, published
// include directories and links) to a manifest; the edges are written by hand in one file.
//
// checkLayering <source root> <published root> <manifest> <edges> <folder>...

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Target {
    std::vector<fs::path> sources;
    std::vector<fs::path> roots;
    std::set<std::string> links;
};

using Targets = std::map<std::string, Target>;
using Edges = std::map<std::string, std::set<std::string>>;

bool isUnder(const fs::path& path, const fs::path& dir)
{
    const auto relative = path.lexically_relative(dir);
    return !relative.empty() && *relative.begin() != "..";
}

bool isSource(const fs::path& path)
{
    static const std::set<std::string> extensions{".h", ".hpp", ".c", ".cpp"};
    return extensions.count(path.extension().string()) != 0;
}

// The targets that compile a file or publish it by name own it; otherwise the targets that
// publish the deepest folder holding it do (token/types/ before token/).
struct Owners {
    std::map<fs::path, std::set<std::string>> named;
    std::map<fs::path, std::set<std::string>> folders;

    std::set<std::string> of(const fs::path& file) const
    {
        const auto path = fs::canonical(file);
        if (const auto found = named.find(path); found != named.end()) {
            return found->second;
        }
        const std::set<std::string>* deepest = nullptr;
        std::size_t depth = 0;
        for (const auto& [folder, targets] : folders) {
            const auto folderDepth = std::distance(folder.begin(), folder.end());
            if (isUnder(path, folder) && static_cast<std::size_t>(folderDepth) > depth) {
                deepest = &targets;
                depth = static_cast<std::size_t>(folderDepth);
            }
        }
        return deepest ? *deepest : std::set<std::string>{};
    }
};

Targets readManifest(const fs::path& file)
{
    Targets targets;
    std::ifstream in(file);
    std::string line;
    Target* current = nullptr;
    while (std::getline(in, line)) {
        const auto space = line.find(' ');
        const auto kind = line.substr(0, space);
        const auto value = line.substr(space + 1);
        if (kind == "target") {
            current = &targets[value];
        } else if (current && kind == "source") {
            current->sources.emplace_back(value);
        } else if (current && kind == "root") {
            current->roots.emplace_back(value);
        } else if (current && kind == "link") {
            current->links.insert(value);
        }
    }
    return targets;
}

// Lines `target: linked...`; `#` starts a comment.
Edges readEdges(const fs::path& file)
{
    Edges edges;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::istringstream name(line.substr(0, colon));
        std::string target;
        if (!(name >> target)) {
            continue;
        }
        auto& allowed = edges[target];
        std::istringstream links(line.substr(colon + 1));
        for (std::string link; links >> link;) {
            allowed.insert(link);
        }
    }
    return edges;
}

// Everything `target` reaches through allowed links, itself included.
std::set<std::string> reachable(const Edges& edges, const std::string& target)
{
    std::set<std::string> seen{target};
    std::vector<std::string> pending{target};
    while (!pending.empty()) {
        const auto next = pending.back();
        pending.pop_back();
        const auto found = edges.find(next);
        if (found == edges.end()) {
            continue;
        }
        for (const auto& link : found->second) {
            if (seen.insert(link).second) {
                pending.push_back(link);
            }
        }
    }
    return seen;
}

// A published directory holds links to a target's headers or to a folder of them; any other
// include directory is a folder of the target's own.
Owners findOwners(const Targets& targets, const fs::path& sourceRoot, const fs::path& publishedRoot)
{
    Owners owners;
    for (const auto& [name, target] : targets) {
        for (const auto& source : target.sources) {
            if (fs::exists(source)) {
                owners.named[fs::canonical(source)].insert(name);
            }
        }
        for (const auto& root : target.roots) {
            if (!fs::is_directory(root)) {
                continue;
            }
            if (!isUnder(root, publishedRoot)) {
                if (isUnder(root, sourceRoot)) {
                    owners.folders[fs::canonical(root)].insert(name);
                }
                continue;
            }
            for (const auto& entry : fs::recursive_directory_iterator(root)) {
                if (!entry.is_symlink()) {
                    continue;
                }
                const auto linked = fs::canonical(entry.path());
                (fs::is_directory(linked) ? owners.folders : owners.named)[linked].insert(name);
            }
        }
    }
    return owners;
}

class Checker {
public:
    Checker(fs::path sourceRoot, Targets targets, Edges edges, Owners owners)
        : sourceRoot_(std::move(sourceRoot)), targets_(std::move(targets)), edges_(std::move(edges)),
          owners_(std::move(owners))
    {
        for (const auto& [name, target] : targets_) {
            reach_[name] = reachable(edges_, name);
        }
    }

    void checkLinks()
    {
        for (const auto& [name, target] : targets_) {
            const auto allowed = edges_.find(name);
            if (allowed == edges_.end()) {
                fail(name + " has no line in the edges file");
                continue;
            }
            for (const auto& link : target.links) {
                if (allowed->second.count(link) == 0) {
                    fail(name + " links " + link + ", which the edges file does not allow");
                }
            }
        }
    }

    void checkIncludes(const fs::path& file)
    {
        const auto fileOwners = ownersOf(file);
        if (fileOwners.empty()) {
            return;
        }
        static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, includeLine)) {
                continue;
            }
            const auto header = resolve(file, match[2].str(), match[1].str() == "\"", fileOwners);
            if (header.empty()) {
                continue;
            }
            const auto headerOwners = ownersOf(header);
            if (!headerOwners.empty() && !mayInclude(fileOwners, headerOwners)) {
                fail(file.lexically_relative(sourceRoot_).string() + ":" + std::to_string(number) + ": includes " +
                     match[2].str() + " of " + join(headerOwners) + ", which " + join(fileOwners) + " may not link");
            }
        }
    }

    int failures() const { return failures_; }

private:
    std::set<std::string> ownersOf(const fs::path& file) const { return owners_.of(file); }

    // The file the compiler would take: beside the includer for a quoted name, then the
    // includer's own published directories, then any target's, so that a header reached
    // without the link is found and reported.
    fs::path resolve(const fs::path& file, const std::string& name, bool quoted,
                     const std::set<std::string>& fileOwners) const
    {
        if (quoted && fs::is_regular_file(file.parent_path() / name)) {
            return file.parent_path() / name;
        }
        std::vector<const Target*> order;
        for (const auto& owner : fileOwners) {
            order.push_back(&targets_.at(owner));
        }
        for (const auto& [targetName, target] : targets_) {
            order.push_back(&target);
        }
        for (const auto* target : order) {
            for (const auto& root : target->roots) {
                if (fs::is_regular_file(root / name)) {
                    return root / name;
                }
            }
        }
        return {};
    }

    bool mayInclude(const std::set<std::string>& fileOwners, const std::set<std::string>& headerOwners) const
    {
        return std::any_of(fileOwners.begin(), fileOwners.end(), [&](const std::string& owner) {
            const auto& reach = reach_.at(owner);
            return std::any_of(headerOwners.begin(), headerOwners.end(),
                               [&](const std::string& header) { return reach.count(header) != 0; });
        });
    }

    static std::string join(const std::set<std::string>& names)
    {
        std::string text;
        for (const auto& name : names) {
            text += (text.empty() ? "" : "/") + name;
        }
        return text;
    }

    void fail(const std::string& message)
    {
        std::cerr << message << '\n';
        ++failures_;
    }

    fs::path sourceRoot_;
    Targets targets_;
    Edges edges_;
    Owners owners_;
    std::map<std::string, std::set<std::string>> reach_;
    int failures_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::cerr << "usage: checkLayering <source root> <published root> <manifest> <edges> <folder>...\n";
        return 2;
    }
    const fs::path sourceRoot = fs::canonical(argv[1]);
    const fs::path publishedRoot = fs::weakly_canonical(argv[2]);
    auto targets = readManifest(argv[3]);
    auto owners = findOwners(targets, sourceRoot, publishedRoot);
    Checker checker(sourceRoot, std::move(targets), readEdges(argv[4]), std::move(owners));
    checker.checkLinks();
    for (int i = 5; i < argc; ++i) {
        const auto folder = sourceRoot / argv[i];
        if (!fs::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file() && isSource(entry.path())) {
                checker.checkIncludes(entry.path());
            }
        }
    }
    return checker.failures() == 0 ? 0 : 1;
}
