#include "support/TestPaths.h"

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

}  // namespace twtest
