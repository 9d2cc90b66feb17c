#pragma once

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace rendertest {

struct RunResult {
    int exitCode;
    std::string output; // standard output and standard error together
};

// Runs a command line (a program with its arguments, after optional NAME=VALUE settings of
// its environment) in `directory`.
inline RunResult runCommand(const std::string& directory, const std::string& commandLine) {
    const std::string command = "cd '" + directory + "' && " + commandLine + " 2>&1";
    RunResult result{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Runs qvl-render in `directory` with the given arguments.
inline RunResult run(const std::string& directory, const std::string& arguments) {
    return runCommand(directory, std::string(QVL_RENDER_PATH) + " " + arguments);
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline bool exists(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0;
}

// Names of the files in a directory, hidden ones included.
inline std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* d = opendir(directory.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// A fresh directory per test, removed with its files afterwards.
class TempDirectory {
  public:
    TempDirectory() {
        char pattern[] = "/tmp/qvl-render-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDirectory() {
        for (const std::string& name : filesIn(path))
            std::remove((path + "/" + name).c_str());
        rmdir(path.c_str());
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// Interleaved 32-bit integer frames (libsndfile's left-aligned integers) or doubles.
struct SoundFile {
    SF_INFO info{};
    std::vector<int32_t> ints;
    std::vector<double> doubles;
};

// A test signal with full-scale excursions and quiet passages: a sine sweep, per channel
// different, with every n-th sample near the extremes.
inline double testSample(int channel, int n) {
    const double t = n / 44100.0;
    const double sweep =
        std::sin(2.0 * 3.141592653589793 * (50.0 + 2000.0 * t) * t * (channel + 1));
    return (n % 97 == 0 ? 0.999 : 0.7) * sweep * (channel == 2 ? 0.5 : 1.0);
}

inline bool writeFile(const std::string& path, int format, int channels, int frames,
                      int rateHz = 44100) {
    SF_INFO info{};
    info.samplerate = rateHz;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<double> data(static_cast<std::size_t>(frames * channels));
    for (int n = 0; n < frames; ++n)
        for (int c = 0; c < channels; ++c)
            data[static_cast<std::size_t>(n * channels + c)] = testSample(c, n);
    const bool ok = sf_writef_double(file, data.data(), frames) == frames;
    sf_close(file);
    return ok;
}

inline SoundFile readFile(const std::string& path) {
    SoundFile s;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &s.info);
    if (!file) return s;
    const auto count = static_cast<std::size_t>(s.info.frames * s.info.channels);
    s.ints.resize(count);
    s.doubles.resize(count);
    sf_readf_int(file, s.ints.data(), s.info.frames);
    sf_seek(file, 0, SEEK_SET);
    sf_readf_double(file, s.doubles.data(), s.info.frames);
    sf_close(file);
    return s;
}

} // namespace rendertest
