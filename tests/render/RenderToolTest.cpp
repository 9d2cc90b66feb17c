// qvl-render as a program a user installs: where it finds the plug-in without --plugin, what
// --version tells, and how a wrong command line is answered.
#include "RenderTestSupport.h"

#include <filesystem>

namespace {

using namespace rendertest;
namespace fs = std::filesystem;

const std::string kModuleName = fs::path(QVL_PLUGIN_PATH).filename().string();

// A copy of the renderer as an unpacked archive holds it (bin/), and a home folder.
class UnpackedTool {
  public:
    UnpackedTool() {
        fs::create_directories(root() / "archive/bin");
        fs::create_directories(root() / "home/.local/bin");
        fs::copy_file(QVL_RENDER_PATH, tool());
    }
    ~UnpackedTool() { fs::remove_all(root()); }
    fs::path root() const { return dir_.path; }
    fs::path tool() const { return root() / "archive/bin/qvl-render"; }
    void placeModule(const fs::path& folder) const {
        fs::create_directories(folder);
        fs::copy_file(QVL_PLUGIN_PATH, folder / kModuleName);
    }
    // The renderer run as the user of the home folder, through `program`.
    RunResult run(const fs::path& program, const std::string& arguments) const {
        return runCommand(dir_.path, "HOME='" + (root() / "home").string() + "' '" +
                                         program.string() + "' " + arguments);
    }

  private:
    TempDirectory dir_;
};

TEST(RenderTool, AnUnpackedToolFindsTheModuleBesideItselfThenInTheUsersFolder) {
    UnpackedTool unpacked;
    const fs::path beside = unpacked.root() / "archive/lib/vst";
    const fs::path users = unpacked.root() / "home/.vst";
    unpacked.placeModule(beside);
    unpacked.placeModule(users);
    // A link in the user's PATH still finds the module beside the real file.
    const fs::path link = unpacked.root() / "home/.local/bin/qvl-render";
    fs::create_symlink(unpacked.tool(), link);
    for (const fs::path& program : {unpacked.tool(), link}) {
        const RunResult r = unpacked.run(program, "--info");
        ASSERT_EQ(r.exitCode, 0) << r.output;
        EXPECT_TRUE(contains(r.output, "Module:         " + (beside / kModuleName).string()))
            << r.output;
    }
    // A copy of the tool alone (as into ~/.local/bin) finds the one in ~/.vst.
    fs::remove(link);
    fs::copy_file(unpacked.tool(), link);
    const RunResult copied = unpacked.run(link, "--info");
    ASSERT_EQ(copied.exitCode, 0) << copied.output;
    EXPECT_TRUE(contains(copied.output, "Module:         " + (users / kModuleName).string()))
        << copied.output;
}

TEST(RenderTool, WithoutAModuleItSaysWhereItLooked) {
    for (const char* system : {"/usr/local/lib/vst/", "/usr/lib/vst/"})
        if (exists(system + kModuleName)) GTEST_SKIP() << "the plug-in is installed in " << system;
    UnpackedTool unpacked;
    const RunResult r = unpacked.run(unpacked.tool(), "");
    EXPECT_EQ(r.exitCode, 1);
    // Every edition, each in the folder beside the tool, the user's and the system's.
    const std::string root = unpacked.root().string();
    const std::string places =
        "the VST 2.4 module " + kModuleName + " in " + root + "/archive/lib/vst, " + root +
        "/home/.vst, /usr/local/lib/vst, /usr/lib/vst; the VST 3 bundle "
        "qvl-feedback-compressor.vst3 in " +
        root + "/archive/lib/vst3, " + root +
        "/home/.vst3, /usr/local/lib/vst3, /usr/lib/vst3; the CLAP module "
        "qvl-feedback-compressor.clap in " +
        root + "/archive/lib/clap, " + root +
        "/home/.clap, /usr/local/lib/clap, /usr/lib/clap; the LV2 bundle "
        "qvl-feedback-compressor.lv2 in " +
        root + "/archive/lib/lv2, " + root + "/home/.lv2, /usr/local/lib/lv2, /usr/lib/lv2";
    EXPECT_TRUE(contains(r.output, "no plug-in found: looked for " + places)) << r.output;
    EXPECT_TRUE(contains(r.output, "--plugin")) << r.output;
    EXPECT_TRUE(filesIn(unpacked.root().string()).size() == 2u) << "something was written";

    const RunResult version = unpacked.run(unpacked.tool(), "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(contains(version.output, "none found: looked for " + places)) << version.output;
}

TEST(RenderTool, VersionNamesTheToolAndThePluginItWouldLoad) {
    TempDirectory dir;
    const RunResult r = run(dir.path, "--version");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output.rfind("qvl-render ", 0), 0u) << r.output;
    // The build's own renderer loads the module built beside it.
    EXPECT_TRUE(contains(r.output, std::string("QVL Feedback Compressor, VST 2.4 edition (") +
                                       QVL_PLUGIN_PATH + ")"))
        << r.output;
}

TEST(RenderTool, AWrongCommandLineGetsOneLineAndAHint) {
    TempDirectory dir;
    const RunResult r = run(dir.path, "--frobnicate");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.output, "qvl-render: unknown option: --frobnicate\n"
                        "qvl-render --help lists the options\n");
}

} // namespace
