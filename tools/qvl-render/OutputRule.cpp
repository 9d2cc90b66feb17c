#include "OutputRule.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// One file under two names: the same inode of the same device, or, for a file that does not
// exist yet, the same path once links and dots are resolved.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code errorA, errorB;
    const fs::path pa = fs::weakly_canonical(a, errorA), pb = fs::weakly_canonical(b, errorB);
    return !errorA && !errorB && pa == pb;
}

} // namespace

std::string refusalToWrite(const std::string& outputPath, const std::string& inputPath,
                           bool replaceAllowed) {
    std::error_code error;
    if (fs::is_directory(outputPath, error)) return outputPath + " is a folder, not a file";
    if (replaceAllowed) return {};
    if (!inputPath.empty() && sameFile(outputPath, inputPath))
        return "not writing " + outputPath + ": it is the input file" +
               (outputPath == inputPath ? "" : ", " + inputPath) + "; --overwrite replaces it";
    if (fs::exists(fs::symlink_status(outputPath, error)))
        return "not writing " + outputPath + ": the file exists; --overwrite replaces it";
    return {};
}
