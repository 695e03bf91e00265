#pragma once
#include <gtest/gtest.h>
#include <string>

namespace twtest {

// A file or folder under the project's own fixtures (tests/fixtures).
std::string fixture(const std::string& relative);

// Folder of the shared corpus of real files beside the checkout; empty when absent.
std::string corpusDir();

// Reads a whole file; empty string when it cannot be read.
std::string readFile(const std::string& path);

// A shell command line run to its end: exit status (−1 when it did not exit), stdout, stderr.
struct RunResult {
  int status = -1;
  std::string out, err;
};
RunResult runCommand(const std::string& command);
inline std::string quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace twtest

// Skips the current test when the shared corpus is not next to the checkout (a user's fresh clone).
#define TW_REQUIRE_CORPUS()                                                                  \
  do {                                                                                       \
    if (twtest::corpusDir().empty())                                                         \
      GTEST_SKIP() << "../shared/corpus is not beside this checkout; real-file tests skipped"; \
  } while (0)
