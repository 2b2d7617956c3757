// Failures of the file system itself, staged in a child process with mounts
// of its own: a directory that forbids creation and a full disk.
#include "history/target_history.h"
#include "tests/history/history_fixture.h"
#include "tests/support/fake_target_list.h"

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kCannotMount = 77;

class HistoryMountTest : public HistoryTest {
protected:
    // Runs body in a child with a private mount namespace and returns what it
    // reports, empty when all went as expected. Tests skip where the system
    // does not let them mount.
    CString InPrivateMounts(const std::function<CString()>& body) {
        int report[2];
        EXPECT_EQ(pipe(report), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(report[0]);
            if (unshare(CLONE_NEWNS) != 0 ||
                mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                _exit(kCannotMount);
            const CString text = body();
            const bool sent = write(report[1], text.data(), text.size()) == ssize_t(text.size());
            _exit(sent ? 0 : 1);
        }
        close(report[1]);
        CString text;
        char buffer[512];
        for (ssize_t got; (got = read(report[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, size_t(got));
        close(report[0]);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        m_bCannotMount = WIFEXITED(status) && WEXITSTATUS(status) == kCannotMount;
        EXPECT_TRUE(m_bCannotMount || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
        return text;
    }

    bool m_bCannotMount = false;
};

bool Put(const CString& path, const CString& content) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && write(fd, content.data(), content.size()) == ssize_t(content.size());
    close(fd);
    return ok;
}

std::unique_ptr<FakeTargetList> MarkedBox(int count) {
    auto box = std::make_unique<FakeTargetList>();
    for (int i = 0; i < count; ++i) {
        box->AddString("host" + std::to_string(i) + ".example.with.a.rather.long.name");
        box->SetItemData(i, HOST_KEEP_MARK);
    }
    return box;
}

CString Check(bool ok, const char* what) {
    return ok ? CString() : CString(what) + "\n";
}

TEST_F(HistoryMountTest, DirectoryThatForbidsCreation) {
    MakeDir(At("nofile"));
    MakeDir(At("withfile"));
    WriteFile(At("nofile/tovra.exe"), "");
    WriteFile(At("withfile/tovra.exe"), "");
    WriteFile(At("withfile/tovra.dat"), "b.example\r\n");
    const CString report = InPrivateMounts([&] {
        if (mount(m_strDir.c_str(), m_strDir.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, m_strDir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                0)
            _exit(kCannotMount);
        const UINT type = MB_OK | MB_ICONINFORMATION;
        CString errors;

        FakeTargetList fresh;
        if (chdir(At("nofile").c_str()) != 0)
            return CString("chdir\n");
        LoadHistory(fresh);
        SaveHistory(*MarkedBox(1), "");
        errors += Check(
            Messages() == std::vector<RecordedMessage>{{kReadMessage, type}, {kWriteMessage, type}},
            "absent file: both messages");
        errors += Check(fresh.GetCount() == 0, "absent file: empty list");
        errors +=
            Check(List(".") == std::vector<CString>{"tovra.exe"}, "absent file: nothing made");

        ClearMessages();
        FakeTargetList loaded;
        if (chdir(At("withfile").c_str()) != 0)
            return CString("chdir\n");
        LoadHistory(loaded);
        SaveHistory(*MarkedBox(1), "");
        errors += Check(loaded.Texts() == std::vector<CString>{"b.example"}, "existing: loads");
        errors += Check(Messages() == std::vector<RecordedMessage>{{kWriteMessage, type}},
                        "existing: write message only");
        errors += Check(ReadFile("tovra.dat") == "b.example\r\n", "existing: unchanged");
        return errors;
    });
    if (m_bCannotMount)
        GTEST_SKIP() << "mounting is not permitted here";
    EXPECT_EQ(report, "");
}

TEST_F(HistoryMountTest, FullDiskLeavesFormerFile) {
    const CString dir = At("disk");
    MakeDir(dir);
    const CString old = "b.example\r\na.example\r\n";
    const CString report = InPrivateMounts([&] {
        if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0)
            _exit(kCannotMount);
        if (chdir(dir.c_str()) != 0 || !Put("tovra.exe", "") || !Put("tovra.dat", old))
            return CString("setup\n");
        // Take every block that is left.
        const int filler = open("filler", O_WRONLY | O_CREAT, 0644);
        const CString block(4096, 'x');
        while (write(filler, block.data(), block.size()) > 0) {
        }
        close(filler);

        CString errors;
        SaveHistory(*MarkedBox(10), "");
        errors += Check(
            Messages() == std::vector<RecordedMessage>{{kWriteMessage, MB_OK | MB_ICONINFORMATION}},
            "write message");
        errors += Check(ReadFile("tovra.dat") == old, "former file whole");
        errors += Check(List(".") == std::vector<CString>{"filler", "tovra.dat", "tovra.exe"},
                        "no new file left");

        // With room again the same save goes through.
        ClearMessages();
        unlink("filler");
        SaveHistory(*MarkedBox(10), "");
        errors += Check(Messages().empty(), "second save: no message");
        const CString saved = ReadFile("tovra.dat");
        errors += Check(std::count(saved.begin(), saved.end(), '\n') == 10, "second save: written");
        return errors;
    });
    if (m_bCannotMount)
        GTEST_SKIP() << "mounting is not permitted here";
    EXPECT_EQ(report, "");
}

} // namespace
