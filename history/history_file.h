// The history file on disk: one target per line, CR LF written after every
// line; a lone LF also ends a line when read, and a byte 0x1A ends the
// content. While a load or a save has the file open it holds an exclusive
// lock on it, so a second instance of the program is refused meanwhile.
#pragma once

#include "framework/afx_types.h"

#include <vector>

// Reads the lines of the file at path, without their line ends; an absent
// file is created empty. False when the path is empty, the file cannot be
// opened or created, or someone else holds it.
bool ReadHistoryFile(const CString& path, std::vector<CString>& lines);

// A save of the file. The lines go to a new file beside the old one, which
// replaces the old one only once it is complete and flushed: a save that
// fails or is killed part-way leaves the former file whole.
class CHistoryWriter {
public:
    CHistoryWriter() = default;
    CHistoryWriter(const CHistoryWriter&) = delete;
    CHistoryWriter& operator=(const CHistoryWriter&) = delete;
    ~CHistoryWriter(); // an uncommitted save is dropped

    // Locks the file (created empty when absent) and creates the new one.
    // False when the path is empty, the file is held by someone else, is
    // read-only or cannot be created, or its directory forbids the new file.
    bool Open(const CString& path);
    void WriteLine(const CString& line); // the line and CR LF
    // Writes, flushes and puts the new file in place; false when any of it
    // failed, and the former file is then unchanged.
    bool Commit();

private:
    void Drop();

    CString m_strPath;
    CString m_strTempPath;
    CString m_strContent;
    int m_hLock = -1;
    int m_hTemp = -1;
};

// Called by a commit after the new file is flushed and right before it
// replaces the old one; null normally. Lets a test end the process there.
extern void (*g_pfnBeforeReplace)();
