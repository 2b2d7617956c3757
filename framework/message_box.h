// Modal message boxes. The window system installs the handler that shows
// them; without one (a program or test with no windows) the text goes to
// standard error. Callable from any thread: the handler carries the box over
// to the main thread and returns when the user has closed it.
#pragma once

#include "framework/afx_types.h"

typedef int (*MessageBoxHandler)(const CString& text, UINT type);

// Shows text with the application's name as the title; returns the button.
int AfxMessageBox(const CString& text, UINT type = MB_OK);

// Installs the handler and returns the one it replaces (null: standard error).
MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler);
