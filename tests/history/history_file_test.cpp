#include "history/history_file.h"
#include "history/target_history.h"
#include "tests/history/history_fixture.h"
#include "tests/support/fake_target_list.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A working directory with tovra.exe in it, so the file is ./tovra.dat.
class HistoryFileTest : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        WriteFile(At("tovra.exe"), "");
        m_strFile = At("tovra.dat");
    }

    static std::vector<FakeTargetList::Entry> Marked(const std::vector<CString>& texts) {
        std::vector<FakeTargetList::Entry> entries;
        for (const CString& text : texts)
            entries.push_back({text, HOST_KEEP_MARK});
        return entries;
    }

    CString m_strFile;
};

CString Lines(int first, int count) {
    CString content;
    for (int i = first; i < first + count; ++i) {
        char line[32];
        snprintf(line, sizeof line, "host%02d.example\r\n", i);
        content += line;
    }
    return content;
}

struct LoadCase {
    const char* name;
    CString content;
    CString text;               // the box's text afterwards
    std::vector<CString> texts; // the list afterwards, all marked
};

class LoadTest : public HistoryFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, FillsBoxFromFile) {
    const LoadCase& c = GetParam();
    WriteFile(m_strFile, c.content);
    FakeTargetList box;
    LoadHistory(box);
    EXPECT_EQ(box.GetText(), c.text);
    EXPECT_EQ(box.Entries(), Marked(c.texts));
    EXPECT_EQ(box.FocusCount(), c.content.empty() || c.content[0] == '\x1A' ? 0 : 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFile(m_strFile), c.content); // loading never writes
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTest,
    testing::Values(
        LoadCase{"Sorted",
                 "b.example\r\n  a.example\r\n\r\nC.example\r\n",
                 "b.example",
                 {"a.example", "b.example", "C.example"}},
        LoadCase{"FirstLineKeepsLeadingSpaces",
                 "  b.example\r\n\ta.example\r\n",
                 "  b.example",
                 {"  b.example", "a.example"}},
        LoadCase{
            "EmptyFirstLine", "\r\nb.example\r\na.example\r\n", "", {"a.example", "b.example"}},
        LoadCase{
            "LineFeedsAlone", "b.example\na.example\n", "b.example", {"a.example", "b.example"}},
        LoadCase{"LastLineWithoutEnd",
                 "b.example\r\na.example",
                 "b.example",
                 {"a.example", "b.example"}},
        LoadCase{"EndOfContentByte",
                 "b.example\r\na.example\x1A"
                 "c.example\r\n",
                 "b.example",
                 {"a.example", "b.example"}},
        LoadCase{"EndOfContentFirst",
                 "\x1A"
                 "b.example\r\n",
                 "",
                 {}},
        LoadCase{"LoneCarriageReturnBelongsToLine",
                 "b.ex\rample\r\na\r\r\n",
                 "b.ex\rample",
                 {"a\r", "b.ex\rample"}},
        LoadCase{"HighBytesAndTrailingSpaces",
                 "\xEF\xBB\xBF"
                 "b.example  \r\n \xA0z.example \r\n",
                 "\xEF\xBB\xBF"
                 "b.example  ",
                 {"\xA0z.example ", "\xEF\xBB\xBF"
                                    "b.example  "}},
        LoadCase{"BlankLinesSkipped", "b.example\r\n \t\v\f\r\n\r\n", "b.example", {"b.example"}},
        LoadCase{"Duplicates",
                 "b.example\r\nb.example\r\nB.example\r\n",
                 "b.example",
                 {"b.example", "b.example", "B.example"}},
        LoadCase{"Empty", "", "", {}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST_F(HistoryFileTest, LoadCreatesAbsentFile) {
    FakeTargetList box;
    LoadHistory(box);
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_EQ(box.GetText(), "");
    EXPECT_TRUE(Messages().empty());
    struct stat st;
    ASSERT_EQ(stat(m_strFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
}

struct SaveCase {
    const char* name;
    std::vector<FakeTargetList::Entry> entries; // in list order
    CString text;                               // the box's text
    CString lastGood;
    CString content; // the file afterwards
};

class SaveTest : public HistoryFileTest, public testing::WithParamInterface<SaveCase> {};

// Each save replaces a file longer than what it writes.
TEST_P(SaveTest, WritesMarkedEntries) {
    const SaveCase& c = GetParam();
    WriteFile(m_strFile, Lines(0, 60));
    FakeTargetList box;
    for (const FakeTargetList::Entry& entry : c.entries) {
        const int index = box.InsertString(-1, entry.text);
        box.SetItemData(index, entry.data);
    }
    box.SetText(c.text);
    SaveHistory(box, c.lastGood);
    EXPECT_EQ(ReadFile(m_strFile), c.content);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"tovra.dat", "tovra.exe"}));
}

constexpr uint32_t M = HOST_KEEP_MARK;

INSTANTIATE_TEST_SUITE_P(
    Lists, SaveTest,
    testing::Values(SaveCase{"LastGoodFirstOnce",
                             {{"a.example", M}, {"b.example", M}, {"c.example", M}},
                             "b.example",
                             "b.example",
                             "b.example\r\na.example\r\nc.example\r\n"},
                    SaveCase{"ChangedCaseFallsBackToListOrder",
                             {{"a.example", M}, {"b.example", M}, {"c.example", M}},
                             "B.example",
                             "b.example",
                             "a.example\r\nb.example\r\nc.example\r\n"},
                    SaveCase{"BoxLettersWritten",
                             {{"a.example", M}, {"B.EXAMPLE", M}},
                             "b.example",
                             "b.example",
                             "b.example\r\na.example\r\n"},
                    SaveCase{"UnmarkedLastGoodDropped",
                             {{"new.example", 0}, {"a.example", M}},
                             "new.example",
                             "new.example",
                             "a.example\r\n"},
                    SaveCase{"LastGoodNotInList",
                             {{"a.example", M}},
                             "gone.example",
                             "gone.example",
                             "a.example\r\n"},
                    SaveCase{"UnmarkedNotWritten",
                             {{"typed.example", 0}, {"a.example", M}, {"b.example", 0}},
                             "",
                             "",
                             "a.example\r\n"},
                    SaveCase{"LeadingSpaceRemovedTrailingKept",
                             {{" \tlead.example  ", M}, {" \r ", M}, {"\xA0high\xE9", M}},
                             " \tlead.example  ",
                             " \tlead.example  ",
                             "lead.example  \r\n\xA0high\xE9\r\n"},
                    SaveCase{"DuplicatesBothWritten",
                             {{"a.example", M}, {"a.example", M}},
                             "",
                             "",
                             "a.example\r\na.example\r\n"},
                    SaveCase{"EmptyList", {}, "", "", ""}),
    [](const testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

TEST_F(HistoryFileTest, SixtyLinesLoadWholeAndSaveCapped) {
    WriteFile(m_strFile, Lines(0, 60));
    FakeTargetList box;
    LoadHistory(box);
    ASSERT_EQ(box.GetCount(), 60);
    CapTargetList(box);
    SaveHistory(box, "");
    EXPECT_EQ(ReadFile(m_strFile), Lines(0, 50));
}

TEST_F(HistoryFileTest, RoundTripStripsFirstLineAndKeepsMode) {
    WriteFile(m_strFile, "  b.example\r\na.example \n");
    ASSERT_EQ(chmod(m_strFile.c_str(), 0640), 0);
    FakeTargetList box;
    LoadHistory(box);
    SaveHistory(box, "");
    EXPECT_EQ(ReadFile(m_strFile), "b.example\r\na.example \r\n");
    struct stat st;
    ASSERT_EQ(stat(m_strFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(HistoryFileTest, ExecutableNotFound) {
    ASSERT_EQ(unlink(At("tovra.exe").c_str()), 0);
    MakeDir(At("empty"));
    setenv("PATH", At("empty").c_str(), 1);
    FakeTargetList box;
    LoadHistory(box);
    box.AddString("a.example");
    box.SetItemData(-1, HOST_KEEP_MARK);
    SaveHistory(box, "");
    const UINT type = MB_OK | MB_ICONINFORMATION;
    EXPECT_EQ(Messages(),
              (std::vector<RecordedMessage>{{kReadMessage, type}, {kWriteMessage, type}}));
    EXPECT_EQ(box.GetCount(), 1);
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"empty"}));
}

// Holds the lock on the file until the returned pipe's write end closes:
// from this process through another open of the file, or from a child.
class LockHolder {
public:
    LockHolder(const CString& path, bool otherProcess) {
        if (!otherProcess) {
            m_fd = open(path.c_str(), O_RDONLY);
            EXPECT_EQ(flock(m_fd, LOCK_EX | LOCK_NB), 0);
            return;
        }
        int ready[2], release[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(release), 0);
        m_child = fork();
        if (m_child == 0) {
            close(ready[0]);
            close(release[1]); // the parent's close of it is the signal
            const int fd = open(path.c_str(), O_RDONLY);
            char c = flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
            if (write(ready[1], &c, 1) != 1 || read(release[0], &c, 1) < 0)
                _exit(1);
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        char c = 0;
        EXPECT_EQ(read(ready[0], &c, 1), 1);
        EXPECT_EQ(c, 'y');
        close(ready[0]);
        m_fd = release[1];
    }
    ~LockHolder() {
        close(m_fd);
        if (m_child > 0)
            waitpid(m_child, nullptr, 0);
    }

private:
    int m_fd = -1;
    pid_t m_child = -1;
};

TEST_F(HistoryFileTest, LockedFileIsRefused) {
    const CString old = "b.example\r\na.example\r\n";
    for (bool otherProcess : {false, true}) {
        WriteFile(m_strFile, old);
        ClearMessages();
        FakeTargetList box;
        {
            LockHolder holder(m_strFile, otherProcess);
            LoadHistory(box);
            EXPECT_EQ(box.GetCount(), 0);
            box.AddString("c.example");
            box.SetItemData(-1, HOST_KEEP_MARK);
            SaveHistory(box, "");
        }
        const UINT type = MB_OK | MB_ICONINFORMATION;
        EXPECT_EQ(Messages(),
                  (std::vector<RecordedMessage>{{kReadMessage, type}, {kWriteMessage, type}}))
            << (otherProcess ? "another process" : "another open");
        EXPECT_EQ(ReadFile(m_strFile), old);
        // Once released, the file opens again.
        FakeTargetList again;
        LoadHistory(again);
        EXPECT_EQ(again.GetCount(), 2);
    }
}

TEST_F(HistoryFileTest, ReadOnlyFileLoadsButIsNotReplaced) {
    const CString old = "b.example\r\na.example\r\n";
    WriteFile(m_strFile, old);
    ASSERT_EQ(chmod(m_strFile.c_str(), 0444), 0);
    FakeTargetList box;
    LoadHistory(box);
    EXPECT_EQ(box.GetCount(), 2);
    box.AddString("c.example");
    box.SetItemData(-1, HOST_KEEP_MARK);
    SaveHistory(box, "");
    EXPECT_EQ(Messages(),
              (std::vector<RecordedMessage>{{kWriteMessage, MB_OK | MB_ICONINFORMATION}}));
    EXPECT_EQ(ReadFile(m_strFile), old);
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"tovra.dat", "tovra.exe"}));
}

// A load that comes while a save is putting its new file in place finds the
// file held, rather than reading either version half-way.
bool s_loadDuringReplace = true;
void LoadDuringReplace() {
    std::vector<CString> lines;
    s_loadDuringReplace = ReadHistoryFile("tovra.dat", lines);
}

TEST_F(HistoryFileTest, LoadDuringSaveIsRefused) {
    FakeTargetList box;
    box.AddString("a.example");
    box.SetItemData(-1, HOST_KEEP_MARK);
    g_pfnBeforeReplace = LoadDuringReplace;
    SaveHistory(box, "");
    g_pfnBeforeReplace = nullptr;
    EXPECT_FALSE(s_loadDuringReplace);
    EXPECT_EQ(ReadFile(m_strFile), "a.example\r\n");
}

TEST_F(HistoryFileTest, SaveKilledBeforeReplaceLeavesFormerFile) {
    const CString old = Lines(0, 3);
    WriteFile(m_strFile, old);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FakeTargetList box;
        box.AddString("new.example");
        box.SetItemData(-1, HOST_KEEP_MARK);
        g_pfnBeforeReplace = [] { _exit(0); };
        SaveHistory(box, "");
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(m_strFile), old);
    // The dead process's lock is gone: the next load and save work.
    FakeTargetList box;
    LoadHistory(box);
    EXPECT_EQ(box.GetCount(), 3);
    SaveHistory(box, "");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFile(m_strFile), old);
}

} // namespace
