#include "tests/history/history_fixture.h"

#include "framework/message_box.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

const char kReadMessage[] =
    "File Access error: Unable to read tovra.dat. File already inuse or marked readonly.";
const char kWriteMessage[] = "File Access error: Unable to write to tovra.dat. File in use.";

namespace {

std::vector<RecordedMessage> s_messages;

int RecordMessage(const CString& text, UINT type) {
    s_messages.push_back({text, type});
    return IDOK;
}

bool IsPathVariable(const char* entry) {
    return strncasecmp(entry, "path=", 5) == 0;
}

} // namespace

void UnsetPathVariables() {
    for (;;) {
        char** entry = environ;
        while (*entry && !IsPathVariable(*entry))
            ++entry;
        if (!*entry)
            return;
        unsetenv(CString(*entry, 4).c_str());
    }
}

void HistoryTest::SetUp() {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    m_strFormerDir = cwd;
    for (char** entry = environ; *entry; ++entry)
        if (IsPathVariable(*entry))
            m_formerPath.emplace_back(CString(*entry, 4), CString(*entry + 5));
    UnsetPathVariables();

    char pattern[] = "/tmp/kc-history-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_strDir = pattern;
    ASSERT_EQ(chdir(m_strDir.c_str()), 0);
    ClearMessages();
    AfxSetMessageBoxHandler(RecordMessage);
}

void HistoryTest::TearDown() {
    AfxSetMessageBoxHandler(nullptr);
    EXPECT_EQ(chdir(m_strFormerDir.c_str()), 0);
    UnsetPathVariables();
    for (const auto& [name, value] : m_formerPath)
        setenv(name.c_str(), value.c_str(), 1);
    std::error_code error;
    std::filesystem::remove_all(m_strDir, error);
}

void HistoryTest::WriteFile(const CString& path, const CString& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    ASSERT_TRUE(file.good()) << path;
}

CString HistoryTest::ReadFile(const CString& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void HistoryTest::MakeDir(const CString& path) {
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0) << path;
}

std::vector<CString> HistoryTest::List(const CString& directory) {
    std::vector<CString> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<RecordedMessage> HistoryTest::Messages() {
    return s_messages;
}

void HistoryTest::ClearMessages() {
    s_messages.clear();
}
