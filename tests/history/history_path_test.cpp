#include "history/target_history.h"
#include "tests/history/history_fixture.h"

#include <cstdlib>

namespace {

class FindHistoryFileTest : public HistoryTest {
protected:
    // A directory under the test's directory holding a tovra.exe.
    CString ExeDir(const CString& name) {
        MakeDir(At(name));
        WriteFile(At(name) + "/tovra.exe", "");
        return At(name);
    }
};

TEST_F(FindHistoryFileTest, WorkingDirectoryComesFirst) {
    WriteFile(At("tovra.exe"), "");
    setenv("PATH", ExeDir("bin").c_str(), 1);
    EXPECT_EQ(FindHistoryFile(), At("tovra.dat"));
}

TEST_F(FindHistoryFileTest, DirectoryNamedLikeTheExecutableCounts) {
    MakeDir(At("tovra.exe"));
    EXPECT_EQ(FindHistoryFile(), At("tovra.dat"));
}

TEST_F(FindHistoryFileTest, NameIsMatchedInItsOwnCase) {
    WriteFile(At("TOVRA.EXE"), "");
    setenv("PATH", m_strDir.c_str(), 1);
    EXPECT_EQ(FindHistoryFile(), "");
}

TEST_F(FindHistoryFileTest, NotFoundGivesEmpty) {
    EXPECT_EQ(FindHistoryFile(), ""); // no search variable at all
    MakeDir(At("empty"));
    setenv("PATH", (At("empty") + ":" + At("missing")).c_str(), 1);
    EXPECT_EQ(FindHistoryFile(), "");
}

TEST_F(FindHistoryFileTest, SearchListElements) {
    const CString a = ExeDir("a");
    const CString b = ExeDir("b");
    const CString colon = ExeDir("x:y");
    const CString quoted = ExeDir("quo");
    const CString named = ExeDir("tovra.exe.d");
    MakeDir(At("none"));
    const CString none = At("none");
    struct Case {
        CString value;
        CString expected;
    } cases[] = {
        {a + ":" + b, a + "/tovra.dat"},
        {none + ":" + b, b + "/tovra.dat"},
        {"::" + none + ":::" + b + "::", b + "/tovra.dat"},
        {b + "/:" + a, b + "/tovra.dat"},
        {"\"" + colon + "\":" + a, colon + "/tovra.dat"},
        {At("q\"u\"o"), quoted + "/tovra.dat"},
        {"\"\":" + a, a + "/tovra.dat"},
        {"b", "b/tovra.dat"}, // relative to the working directory, and kept so
        {named, named + "/tovra.dat"},
    };
    for (const Case& c : cases) {
        setenv("PATH", c.value.c_str(), 1);
        EXPECT_EQ(FindHistoryFile(), c.expected) << c.value;
    }
}

TEST_F(FindHistoryFileTest, VariableNameInAnyCaseFirstInEnvironment) {
    const CString a = ExeDir("a");
    const CString b = ExeDir("b");
    for (const char* name : {"Path", "path", "PATH", "pAtH"}) {
        UnsetPathVariables();
        setenv(name, a.c_str(), 1);
        EXPECT_EQ(FindHistoryFile(), a + "/tovra.dat") << name;
    }
    // Variables set later come later in the environment.
    UnsetPathVariables();
    setenv("path", a.c_str(), 1);
    setenv("PATH", b.c_str(), 1);
    EXPECT_EQ(FindHistoryFile(), a + "/tovra.dat");
    UnsetPathVariables();
    setenv("PATH", b.c_str(), 1);
    setenv("Path", a.c_str(), 1);
    EXPECT_EQ(FindHistoryFile(), b + "/tovra.dat");
}

TEST_F(FindHistoryFileTest, OnlyTheFileNameIsReplaced) {
    const CString dir = ExeDir("tovra.exe-dir");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    EXPECT_EQ(FindHistoryFile(), dir + "/tovra.dat");
}

} // namespace
