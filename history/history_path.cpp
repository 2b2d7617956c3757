#include "history/target_history.h"

#include <climits>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kExeName[] = "tovra.exe";
const char kDatName[] = "tovra.dat";
const char kPathVariable[] = "Path";

bool Exists(const CString& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The value of the first variable in the environment whose name matches
// name in any letter case; null when there is none.
const char* GetEnvNoCase(const char* name) {
    const size_t length = strlen(name);
    for (char** entry = environ; entry && *entry; ++entry) {
        if (strncasecmp(*entry, name, length) == 0 && (*entry)[length] == '=')
            return *entry + length + 1;
    }
    return nullptr;
}

// The elements of a search list: separated by ':', double quotes dropped, a
// ':' between quotes kept. Empty elements are left out, so a run of
// separators counts as one and "" never stands for the root directory.
std::vector<CString> SplitSearchList(const char* value) {
    std::vector<CString> elements;
    CString element;
    bool quoted = false;
    for (const char* p = value; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (*p == ':' && !quoted) {
            if (!element.empty())
                elements.push_back(element);
            element.clear();
        } else {
            element += *p;
        }
    }
    if (!element.empty())
        elements.push_back(element);
    return elements;
}

CString FindInWorkingDirectory() {
    if (!Exists(kExeName))
        return CString();
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        return CString();
    CString path = cwd;
    if (path.back() != '/')
        path += '/';
    return path + kExeName;
}

CString FindInSearchList() {
    const char* value = GetEnvNoCase(kPathVariable);
    if (!value)
        return CString();
    for (CString path : SplitSearchList(value)) {
        if (path.back() != '/')
            path += '/';
        path += kExeName;
        if (path.size() > PATH_MAX)
            continue;
        if (Exists(path))
            return path; // as built: a relative element gives a relative path
    }
    return CString();
}

// Only the file name changes, so that a directory whose name holds the
// executable's name still leads to the directory the executable is in.
CString ReplaceInFileName(CString path) {
    const size_t nameStart = path.rfind('/') == CString::npos ? 0 : path.rfind('/') + 1;
    const size_t length = sizeof(kExeName) - 1;
    for (size_t at = path.find(kExeName, nameStart); at != CString::npos;
         at = path.find(kExeName, at + length))
        path.replace(at, length, kDatName);
    return path;
}

} // namespace

CString FindHistoryFile() {
    CString exe = FindInWorkingDirectory();
    if (exe.empty())
        exe = FindInSearchList();
    return ReplaceInFileName(exe);
}
