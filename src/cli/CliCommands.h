#pragma once
// Subcommands of tarnwick-cli. Each lives in its own file and is listed in main.cpp.

#include <string>
#include <vector>

namespace twcli {

using Args = std::vector<std::string>;  // arguments after the subcommand name

// Each returns the process exit status; errors go to stderr as one line.
int cmdRoundtrip(const Args& args);
int cmdCount(const Args& args);
int cmdInfo(const Args& args);
int cmdThin(const Args& args);
int cmdReverse(const Args& args);
int cmdTurnback(const Args& args);
int cmdElevation(const Args& args);
int cmdImport(const Args& args);
int cmdPoints(const Args& args);
int cmdPrefetch(const Args& args);
int cmdGraph(const Args& args);
int cmdPdf(const Args& args);

}  // namespace twcli
