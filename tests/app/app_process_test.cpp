// The program in processes of its own: the refusal when the runtime library
// is nowhere to be found, and the line that a command line writes to a
// redirected standard output.
#include "kelto/kelto.h"
#include "tests/app/child_process.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char kStartupFailed[] =
    "Kelto SDK Initialization failed. Copy this utility to your Kelto execitable directory";
const char kCommandLineLine[] = "Saw CommanLine Arg!!!!!\n";
constexpr int kEndMs = 20000;

std::string BinFile(const char* name) {
    const char* dir = std::getenv("KC_BIN_DIR");
    return std::string(dir ? dir : ".") + "/" + name;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class AppProcess : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kc-app-process-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

// The program, copied where no runtime library lies beside it, and with no
// library path to find one on, shows the one message box with the stop icon
// and ends: no dialog, no event loop.
TEST_F(AppProcess, RefusesToStartWithoutTheRuntimeLibrary) {
    if (void* installed = dlopen(KELTO_LIBRARY_NAME, RTLD_NOW)) {
        dlclose(installed);
        GTEST_SKIP() << KELTO_LIBRARY_NAME << " is on this machine's library path";
    }
    const fs::path program = m_dir / "tovra.exe";
    fs::copy_file(BinFile("app_runner"), program);
    fs::permissions(program, fs::perms::owner_all);
    const fs::path report = m_dir / "report";

    ChildProcess child(program, {}, m_dir, {"LD_LIBRARY_PATH", "KC_APP_REPORT=" + report.string()});
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.Finish(kEndMs)) << "the program did not end";
    // The framework's default exit code; a sanitizer's report would change it.
    EXPECT_TRUE(WIFEXITED(child.Status()) && WEXITSTATUS(child.Status()) == 0) << child.Status();
    EXPECT_EQ(ReadFile(report), std::string("box tovra|16|") + kStartupFailed + "\nend\n");
    EXPECT_EQ(child.Output(), "");
    EXPECT_FALSE(fs::exists(m_dir / "tovra.dat"));
}

// tovra.exe writes the line, and only with a command line, before its dialog
// runs; the dialog's loading of the history marks that point, and the
// program is ended there.
TEST_F(AppProcess, CommandLineWritesOneLineToStandardOutput) {
    struct Case {
        std::vector<std::string> args;
        std::string output;
    };
    const Case cases[] = {
        {{}, ""},
        {{"x"}, kCommandLineLine},
        {{"a b", "c"}, kCommandLineLine},
        {{""}, kCommandLineLine},
    };
    std::ofstream(m_dir / "tovra.exe").flush(); // so the history is looked for here
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        fs::remove(m_dir / "tovra.dat");
        ChildProcess child(BinFile("tovra.exe"), c.args, m_dir, {});
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(WaitForFile(m_dir / "tovra.dat", kEndMs)) << "the dialog did not start";
        child.Signal(SIGTERM);
        ASSERT_TRUE(child.Finish(kEndMs));
        EXPECT_EQ(child.Output(), c.output);
    }
}

} // namespace
