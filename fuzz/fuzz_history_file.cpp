// The history file's reader with whole files of any bytes, then the save of
// what it loaded and a second load of what the save wrote. Each file goes
// through the real load and save in a directory of the fuzzer's own (on a
// memory file system where there is one, since every save syncs).
#include "framework/message_box.h"
#include "fuzz/fuzz_check.h"
#include "history/target_history.h"
#include "tests/support/fake_target_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string s_dir;
int s_messages = 0;

int CountMessage(const CString&, UINT) {
    ++s_messages;
    return IDOK;
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

CString Stripped(const CString& text) {
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start]))
        ++start;
    return text.substr(start);
}

void WriteWhole(const char* path, const uint8_t* data, size_t size) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(size == 0 || write(fd, data, size) == ssize_t(size));
    close(fd);
}

CString ReadWhole(const char* path) {
    CString content;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    FUZZ_CHECK(fd >= 0);
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, size_t(got));
    close(fd);
    return content;
}

// The lines of a file as the format reads them: up to the first 0x1A, each
// ended by LF or CR LF, a last line without a line end included.
std::vector<CString> Lines(const CString& content) {
    const CString text = content.substr(0, content.find('\x1A'));
    std::vector<CString> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool ended = end != CString::npos;
        if (!ended)
            end = text.size();
        CString line = text.substr(start, end - start);
        if (ended && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<CString> Sorted(std::vector<CString> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

void RemoveDirectory() {
    std::error_code error;
    std::filesystem::remove_all(s_dir, error);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/kc-fuzz-history-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    s_dir = pattern;
    std::atexit(RemoveDirectory);
    FUZZ_CHECK(chdir(s_dir.c_str()) == 0);
    WriteWhole("tovra.exe", nullptr, 0);
    unsetenv("PATH");
    AfxSetMessageBoxHandler(&CountMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    s_messages = 0;
    WriteWhole("tovra.dat", data, size);
    const std::vector<CString> lines = Lines(CString(reinterpret_cast<const char*>(data), size));

    // The first line is the box's text as it stands; the others lose their
    // leading white space, and what is left of them is an entry.
    FakeTargetList box;
    LoadHistory(box);
    std::vector<CString> entries;
    for (size_t i = 0; i < lines.size(); ++i) {
        const CString entry = i == 0 ? lines[0] : Stripped(lines[i]);
        if (!entry.empty())
            entries.push_back(entry);
    }
    FUZZ_CHECK(box.GetText() == (lines.empty() ? CString() : lines[0]));
    FUZZ_CHECK(Sorted(box.Texts()) == Sorted(entries));
    for (const auto& entry : box.Entries())
        FUZZ_CHECK(entry.data == HOST_KEEP_MARK);

    // Half the inputs save with the box's text as the last good target,
    // which then goes first.
    const CString lastGood = size > 0 && data[0] % 2 ? box.GetText() : CString("\x01none");
    CString expected;
    const int first = box.GetText() == lastGood ? box.FindStringExact(lastGood) : -1;
    if (first >= 0 && !Stripped(lastGood).empty())
        expected += Stripped(lastGood) + "\r\n";
    std::vector<CString> written;
    for (int i = 0; i < box.GetCount(); ++i) {
        if (i == first)
            continue;
        const CString line = Stripped(box.GetLBText(i));
        if (!line.empty()) {
            expected += line + "\r\n";
            written.push_back(line);
        }
    }
    if (first >= 0 && !Stripped(lastGood).empty())
        written.push_back(Stripped(lastGood));
    SaveHistory(box, lastGood);
    FUZZ_CHECK(ReadWhole("tovra.dat") == expected);
    FUZZ_CHECK(s_messages == 0);

    // What was written loads back as the same targets.
    FakeTargetList again;
    LoadHistory(again);
    FUZZ_CHECK(Sorted(again.Texts()) == Sorted(written));
    FUZZ_CHECK(s_messages == 0);
    return 0;
}
