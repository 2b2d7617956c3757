// The target history store: the file tovra.dat beside the tovra.exe that a
// search finds, the list of the target box that the file fills and that is
// written back, the cap of that list and the type-ahead of the box's text.
// The dialog's handlers forward to these; they run on the main thread only.
#pragma once

#include "framework/afx_types.h"
#include "history/target_list.h"

// The path of tovra.dat, or empty when no tovra.exe was found: the working
// directory first, then the directories of the Path variable.
CString FindHistoryFile();

// Fills the empty list from the file; the file's first line becomes the box's
// text. A failed open shows its message and leaves the list empty.
void LoadHistory(CTargetList& box);

// Writes the marked entries, the one matching strLastGood first when the box
// still shows exactly that text. A failed save shows its message and leaves
// the former file as it was.
void SaveHistory(CTargetList& box, const CString& strLastGood);

// Removes entries from the end of the list until it holds HOST_LIST_MAX.
void CapTargetList(CTargetList& box);

// Completes the text that the user has just changed from the list. strTyped
// is the prefix as the user last left it; the step updates it.
void TypeAheadTarget(CTargetList& box, CString& strTyped);
