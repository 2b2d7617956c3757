// The history file vanishing between the load and the save: the file alone,
// the file while the save holds it, the whole directory with the program,
// and the file turned into a directory. (A full disk, a locked file and a
// read-only file are tests/history's.)
#include "history/history_file.h"
#include "history/target_history.h"
#include "tests/history/history_fixture.h"
#include "tests/support/fake_target_list.h"

#include <unistd.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const UINT kInformation = MB_OK | MB_ICONINFORMATION;

class HistoryVanishes : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        WriteFile(At("tovra.exe"), "");
        WriteFile(At("tovra.dat"), "b.example\r\na.example\r\n");
        LoadHistory(m_box);
        ASSERT_EQ(m_box.GetCount(), 2);
        m_box.InsertString(0, "c.example");
        m_box.SetItemData(0, HOST_KEEP_MARK); // as a successful lookup marks it
    }

    FakeTargetList m_box;
};

const char kSaved[] = "c.example\r\na.example\r\nb.example\r\n";

// Saving creates an absent file, as loading does: nothing is lost.
TEST_F(HistoryVanishes, FileRemovedIsWrittenAfresh) {
    ASSERT_EQ(unlink(At("tovra.dat").c_str()), 0);
    SaveHistory(m_box, "");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFile(At("tovra.dat")), kSaved);
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"tovra.dat", "tovra.exe"}));
}

void RemoveHistoryFile() {
    unlink("tovra.dat");
}

// Removed after the save has locked it and written the new file, right
// before the new one takes its place.
TEST_F(HistoryVanishes, FileRemovedDuringTheSaveIsStillWritten) {
    g_pfnBeforeReplace = RemoveHistoryFile;
    SaveHistory(m_box, "");
    g_pfnBeforeReplace = nullptr;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFile(At("tovra.dat")), kSaved);
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"tovra.dat", "tovra.exe"}));
}

// With the working directory gone, tovra.exe is found nowhere: the save has
// no file to write, says so, and creates nothing anywhere else.
TEST_F(HistoryVanishes, DirectoryRemovedGivesTheMessage) {
    const CString moved = m_strDir + "-moved";
    fs::rename(m_strDir, moved);
    fs::remove_all(moved);
    SaveHistory(m_box, "");
    EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{kWriteMessage, kInformation}}));
    EXPECT_FALSE(fs::exists(m_strDir));
}

TEST_F(HistoryVanishes, FileReplacedByADirectoryIsLeftAlone) {
    ASSERT_EQ(unlink(At("tovra.dat").c_str()), 0);
    MakeDir(At("tovra.dat"));
    WriteFile(At("tovra.dat/inside"), "kept");
    SaveHistory(m_box, "");
    EXPECT_EQ(Messages(), (std::vector<RecordedMessage>{{kWriteMessage, kInformation}}));
    EXPECT_EQ(List(At("tovra.dat")), std::vector<CString>{"inside"});
    EXPECT_EQ(ReadFile(At("tovra.dat/inside")), "kept");
    EXPECT_EQ(List(m_strDir), (std::vector<CString>{"tovra.dat", "tovra.exe"}));
}

} // namespace
