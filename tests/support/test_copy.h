// Runs a test program again as a fresh copy, for tests of how the program
// finds its runtime library beside itself.
#pragma once

#include <string>
#include <vector>

// Copies the running test program to a directory of its own as name, with
// library (none when empty) beside it under the runtime library's name, and
// runs the copy with gtest_filter filter and these extra environment entries.
// LD_LIBRARY_PATH is left out, so that the library path cannot offer the real
// library either. The copy's exit status, 128 + the signal that ended it, or
// -1 when it could not be run.
int RunTestCopyBeside(const std::string& name, const std::string& library,
                      const std::string& filter, const std::vector<std::string>& variables);
