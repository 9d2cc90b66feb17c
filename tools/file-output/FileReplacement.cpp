#include "FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

bool writeFileWhole(const std::string& path,
                    const std::function<bool(const std::string& temporaryPath)>& write,
                    std::string& error) {
    std::error_code linkError;
    const fs::path resolved = fs::weakly_canonical(path, linkError);
    const fs::path target = linkError ? fs::path(path) : resolved;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (folder / ".qvl-output-XXXXXX").string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        const fs::path named = fs::path(path).parent_path();
        error = "cannot create a file in " + (named.empty() ? std::string(".") : named.string()) +
                ": " + std::generic_category().message(errno);
        return false;
    }
    // mkstemp makes the file private.
    struct stat replaced;
    if (stat(target.c_str(), &replaced) == 0) {
        fchmod(descriptor, replaced.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(descriptor, 0666 & ~mask);
    }
    close(descriptor);
    if (!write(temporary)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot rename the output to " + path;
        return false;
    }
    return true;
}
