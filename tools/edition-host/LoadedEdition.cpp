#include "LoadedEdition.h"

#include "DynamicLibrary.h"
#include "EditionParts.h"
#include "HostedPlugin.h"

#include "ProductIdentity.h"
#include "plugin/ParameterTable.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kWhatIsAPlugin =
    "a VST 2.4 module file, a VST 3 bundle (.vst3), a CLAP module (.clap), an LV2 bundle "
    "(.lv2) or an LV2 URI";

bool endsWith(const std::string& text, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

bool looksLikeUri(const std::string& target) {
    return target.find("://") != std::string::npos || target.rfind("urn:", 0) == 0;
}

// The bundle a VST 3 module file sits in: BUNDLE.vst3/Contents/ARCH/NAME.so.
std::string bundleOfModule(const std::string& modulePath) {
    const fs::path bundle = fs::path(modulePath).parent_path().parent_path().parent_path();
    return endsWith(bundle.string(), ".vst3") ? bundle.string() : std::string();
}

void putWord(std::vector<uint8_t>& bytes, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

uint32_t wordAt(const std::vector<uint8_t>& bytes, std::size_t at) {
    uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i)
        word |= uint32_t(bytes[at + i]) << (8 * i);
    return word;
}

} // namespace

const char* editionName(EditionKind kind) {
    switch (kind) {
    case EditionKind::vst2:
        return "VST 2.4";
    case EditionKind::vst3:
        return "VST 3";
    case EditionKind::clap:
        return "CLAP";
    case EditionKind::lv2:
        return "LV2";
    }
    return "";
}

const char* LoadedEdition::ourName() {
    return kProductName;
}

bool LoadedEdition::connectKey(int channels, std::string& refusal) {
    if (channels < 0 || channels > 2) {
        refusal = "a key has one or two channels, not " + std::to_string(channels);
        return false;
    }
    if (channels > 0 && keyChannels() == 0) {
        refusal = "the " + std::string(editionName(kind())) + " edition of " + name() +
                  " has no sidechain (key) input";
        return false;
    }
    const bool changed = channels != connectedKeyChannels_;
    connectedKeyChannels_ = channels;
    if (changed) keyConnectionChanged();
    return true;
}

bool editionOfTarget(const std::string& target, EditionKind& kind) {
    if (looksLikeUri(target)) {
        kind = EditionKind::lv2;
        return true;
    }
    const std::string path = withoutTrailingSlashes(target);
    if (endsWith(path, ".lv2"))
        kind = EditionKind::lv2;
    else if (endsWith(path, ".vst3"))
        kind = EditionKind::vst3;
    else if (endsWith(path, ".clap"))
        kind = EditionKind::clap;
    else
        return false;
    return true;
}

std::unique_ptr<LoadedEdition> loadEdition(const std::string& target, std::string& error) {
    EditionKind kind{};
    std::error_code ignored;
    // A bare file name is a file here, not a library for the system's search path.
    std::string path = withoutTrailingSlashes(target);
    if (!looksLikeUri(target) && path.find('/') == std::string::npos) path = "./" + path;
    const bool exists = looksLikeUri(target) || fs::exists(path, ignored);
    if (!exists) {
        error =
            "cannot find " + target + ": no such file or folder (expected " + kWhatIsAPlugin + ")";
        return nullptr;
    }
    if (!editionOfTarget(target, kind)) {
        if (fs::is_directory(path, ignored)) {
            error = target + " is a folder, not a plug-in (expected " + kWhatIsAPlugin + ")";
            return nullptr;
        }
        // A module file tells its format by the entry it exports.
        const DynamicLibrary library(path);
        if (!library.isLoaded()) {
            error = target + " is no plug-in (expected " + kWhatIsAPlugin + "): " + library.error();
            return nullptr;
        }
        if (library.symbol("clap_entry")) {
            kind = EditionKind::clap;
        } else if (library.symbol("GetPluginFactory")) {
            const std::string bundle = bundleOfModule(path);
            if (bundle.empty()) {
                error = target + " is a VST 3 module outside its bundle; name the .vst3 bundle";
                return nullptr;
            }
            return loadEdition(bundle, error);
        } else if (library.symbol("VSTPluginMain") || library.symbol("main")) {
            kind = EditionKind::vst2;
        } else {
            error = target + " is no plug-in: it exports no plug-in entry (expected " +
                    kWhatIsAPlugin + ")";
            return nullptr;
        }
    }
    switch (kind) {
    case EditionKind::vst2: {
        HostOptions options;
        options.recordCalls = false;
        auto plugin = std::make_unique<HostedPlugin>(path, options);
        if (!plugin->isLoaded()) {
            error = "cannot load the VST 2.4 plug-in " + target + ": " + plugin->error();
            return nullptr;
        }
        return makeVst2Edition(std::move(plugin));
    }
    case EditionKind::vst3:
#ifdef QVL_EDITION_HOST_VST3
        return makeVst3Edition(path, error);
#else
        break;
#endif
    case EditionKind::clap:
#ifdef QVL_EDITION_HOST_CLAP
        return makeClapEdition(path, error);
#else
        break;
#endif
    case EditionKind::lv2:
#ifdef QVL_EDITION_HOST_LV2
        return makeLv2Edition(looksLikeUri(target) ? target : path, error);
#else
        break;
#endif
    }
    error = std::string("this build loads no ") + editionName(kind) + " plug-ins: " + target;
    return nullptr;
}

namespace editionParts {

ParameterReading ourReading(int index, double normalized) {
    ParameterReading reading;
    if (!isParameterIndex(index)) return reading;
    const ParameterInfo& info = kParameters[static_cast<std::size_t>(index)];
    const float value = static_cast<float>(normalized);
    reading.name = info.name;
    reading.normalized = normalized;
    reading.plain = info.plain.toPlain(value);
    reading.minimum = info.plain.min;
    reading.maximum = info.plain.max;
    reading.text = info.hostText(value).text;
    return reading;
}

std::vector<uint8_t> hostRecord(int program, const std::vector<std::pair<int, float>>& values) {
    std::vector<uint8_t> bytes = {'Q', 'V', 'L', 'H'};
    putWord(bytes, static_cast<uint32_t>(program));
    putWord(bytes, static_cast<uint32_t>(values.size()));
    for (const auto& [index, value] : values) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        putWord(bytes, static_cast<uint32_t>(index));
        putWord(bytes, bits);
    }
    return bytes;
}

bool readHostRecord(const std::vector<uint8_t>& bytes, int& program,
                    std::vector<std::pair<int, float>>& values) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "QVLH", 4) != 0) return false;
    const uint32_t count = wordAt(bytes, 8);
    if (bytes.size() != 12 + 8 * std::size_t(count)) return false;
    program = static_cast<int>(wordAt(bytes, 4));
    values.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t bits = wordAt(bytes, 16 + 8 * i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        values.emplace_back(static_cast<int>(wordAt(bytes, 12 + 8 * i)), value);
    }
    return true;
}

} // namespace editionParts

void editionParts::describeThroughInterface(LoadedEdition& edition, std::ostream& out) {
    out << "Name:           " << edition.name() << '\n';
    edition.start(48000.0, 512, false);
    out << "Latency:        " << edition.latency() << " samples\n";
    edition.stop();
    out << "Key input:      ";
    if (edition.keyChannels() == 0)
        out << "none\n";
    else
        out << edition.keyChannels() << (edition.keyChannels() == 1 ? " channel\n" : " channels\n");
    const std::vector<int> indices = edition.parameterIndices();
    out << "\nParameters (" << indices.size() << "):\n";
    for (const int index : indices) {
        const ParameterReading p = edition.parameter(index);
        char line[200];
        std::snprintf(line, sizeof line, "  %3d  %-20s %-14s %.6g (%g to %g)\n", index,
                      p.name.c_str(), ('"' + p.text + '"').c_str(), p.normalized, p.minimum,
                      p.maximum);
        out << line;
    }
    const std::vector<std::string> programs = edition.programNames();
    out << "\nPrograms (" << programs.size() << "):\n";
    for (std::size_t i = 0; i < programs.size(); ++i)
        out << "  " << i << "  " << programs[i] << '\n';
}
