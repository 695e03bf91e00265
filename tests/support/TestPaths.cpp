#include "support/TestPaths.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace twtest {

std::string fixture(const std::string& relative) { return TW_FIXTURES_DIR "/" + relative; }

std::string corpusDir()
{
  std::error_code ec;
  if (std::filesystem::is_directory(TW_CORPUS_DIR "/gpx", ec)) return TW_CORPUS_DIR;
  return {};
}

std::string readFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

RunResult runCommand(const std::string& command)
{
  static int serial = 0;
  const auto errFile = std::filesystem::temp_directory_path() /
                       ("tw_run_" + std::to_string(::getpid()) + "_" + std::to_string(serial++) + ".err");
  RunResult r;
  FILE* p = ::popen((command + " 2>" + quoted(errFile)).c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1, r.err = readFile(errFile);
  std::filesystem::remove(errFile);
  return r;
}

}  // namespace twtest
