// The application's entry: its name, its command line, its end.
#include "framework/win_app.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

TEST(App, CommandLineIsTheArgumentsAfterTheProgramsName) {
    struct Case {
        std::vector<const char*> args;
        CString line;
    };
    const Case cases[] = {
        {{"prog"}, ""},
        {{"prog", "-x"}, "-x"},
        {{"prog", "a b", "c"}, "\"a b\" c"},
        {{"prog", ""}, "\"\""},
        {{"prog", "say\"hi\""}, "\"say\\\"hi\\\"\""},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const char* arg : c.args)
            argv.push_back(const_cast<char*>(arg));
        EXPECT_EQ(AfxJoinCommandLine(int(argv.size()), argv.data()), c.line);
    }
}

std::string RunDemoApp(const std::string& arguments, int& status) {
    const char* bin = std::getenv("KC_BIN_DIR");
    const std::string command =
        std::string(bin ? bin : ".") + "/framework_demo_app.exe " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    status = pipe ? pclose(pipe) : -1;
    return output;
}

TEST(App, EntryNamesTheAppAfterTheExecutableAndEndsWithoutAMainWindow) {
    int status = 0;
    EXPECT_EQ(RunDemoApp("one 'two three'", status),
              "name=framework_demo_app cmd=one \"two three\"\n");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "ExitInstance's code, after InitInstance returned TRUE";
    EXPECT_EQ(RunDemoApp("", status), "name=framework_demo_app cmd=\n");
}

} // namespace
