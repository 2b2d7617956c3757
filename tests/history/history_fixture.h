// A fresh working directory for each test, with the search variable cleared
// and message boxes recorded; the former directory and variables come back
// afterwards.
#pragma once

#include "framework/afx_types.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

struct RecordedMessage {
    CString text;
    UINT type;
    bool operator==(const RecordedMessage&) const = default;
};

extern const char kReadMessage[];
extern const char kWriteMessage[];

class HistoryTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of name inside the test's directory.
    CString At(const CString& name) const { return m_strDir + "/" + name; }
    static void WriteFile(const CString& path, const CString& content);
    static CString ReadFile(const CString& path);
    static void MakeDir(const CString& path);
    // Names in the directory, sorted.
    static std::vector<CString> List(const CString& directory);

    static std::vector<RecordedMessage> Messages();
    static void ClearMessages();

    CString m_strDir;

private:
    CString m_strFormerDir;
    std::vector<std::pair<CString, CString>> m_formerPath;
};

// Unsets every variable named Path in any letter case.
void UnsetPathVariables();
