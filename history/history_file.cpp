#include "history/history_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void (*g_pfnBeforeReplace)() = nullptr;

namespace {

const char kEndOfContent = '\x1A';

// Opens the file at path, creating it empty when absent, and takes the
// exclusive lock without waiting; -1 when either fails or the path does not
// name a regular file.
int OpenLocked(const CString& path, int flags, struct stat& st) {
    if (path.empty())
        return -1;
    // A save that held the lock may have renamed a new file over the one we
    // opened before we got the lock; then lock the file now at the path.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = open(path.c_str(), flags | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            return -1;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            return -1;
        }
        struct stat now;
        if (stat(path.c_str(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino)
            return fd;
        close(fd);
    }
    return -1;
}

CString ReadAll(int fd) {
    CString content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return content; // a read error keeps what came before it
        content.append(buffer, size_t(got));
    }
}

bool WriteAll(int fd, const CString& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t put = write(fd, content.data() + done, content.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += size_t(put);
    }
    return true;
}

// CR LF or a lone LF ends a line; a CR elsewhere belongs to the line.
std::vector<CString> SplitLines(const CString& content) {
    std::vector<CString> lines;
    const size_t end = std::min(content.find(kEndOfContent), content.size());
    for (size_t start = 0; start < end;) {
        size_t lineEnd = content.find('\n', start);
        if (lineEnd == CString::npos || lineEnd > end)
            lineEnd = end;
        size_t textEnd = lineEnd;
        if (lineEnd < end && lineEnd > start && content[lineEnd - 1] == '\r')
            --textEnd;
        lines.push_back(content.substr(start, textEnd - start));
        start = lineEnd + 1;
    }
    return lines;
}

// The new file takes the former one's permissions and, where we may, its
// owner (root saving another user's file); neither is worth failing for.
bool KeepModeAndOwner(int fd, const struct stat& st) {
    return fchmod(fd, st.st_mode & 07777) == 0 && fchown(fd, st.st_uid, st.st_gid) == 0;
}

// Makes the rename itself survive a crash of the machine.
void SyncDirectory(const CString& path) {
    const size_t slash = path.rfind('/');
    const CString directory = slash == CString::npos ? CString(".")
                              : slash == 0           ? CString("/")
                                                     : path.substr(0, slash);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

bool ReadHistoryFile(const CString& path, std::vector<CString>& lines) {
    lines.clear();
    struct stat st;
    const int fd = OpenLocked(path, O_RDONLY, st);
    if (fd < 0)
        return false;
    const CString content = ReadAll(fd);
    close(fd);
    lines = SplitLines(content);
    return true;
}

CHistoryWriter::~CHistoryWriter() {
    Drop();
}

bool CHistoryWriter::Open(const CString& path) {
    Drop();
    struct stat st;
    const int lock = OpenLocked(path, O_RDWR, st);
    if (lock < 0)
        return false;
    // A file that nobody may write to is read-only, also to root, and also
    // though the rename could replace it.
    if ((st.st_mode & 0222) == 0) {
        close(lock);
        return false;
    }
    CString temp = path + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        close(lock);
        return false;
    }
    KeepModeAndOwner(fd, st);
    m_strPath = path;
    m_strTempPath = temp;
    m_hLock = lock;
    m_hTemp = fd;
    return true;
}

void CHistoryWriter::WriteLine(const CString& line) {
    m_strContent += line;
    m_strContent += "\r\n";
}

bool CHistoryWriter::Commit() {
    if (m_hTemp < 0)
        return false;
    bool ok = WriteAll(m_hTemp, m_strContent) && fsync(m_hTemp) == 0;
    ok = close(m_hTemp) == 0 && ok;
    m_hTemp = -1;
    if (ok && g_pfnBeforeReplace)
        g_pfnBeforeReplace();
    // Still holding the lock on the former file, so nobody reads it half-way.
    if (ok && rename(m_strTempPath.c_str(), m_strPath.c_str()) == 0) {
        m_strTempPath.clear();
        SyncDirectory(m_strPath);
    } else {
        ok = false;
    }
    Drop();
    return ok;
}

void CHistoryWriter::Drop() {
    if (m_hTemp >= 0)
        close(m_hTemp);
    if (!m_strTempPath.empty())
        unlink(m_strTempPath.c_str());
    if (m_hLock >= 0)
        close(m_hLock);
    m_hTemp = m_hLock = -1;
    m_strPath.clear();
    m_strTempPath.clear();
    m_strContent.clear();
}
