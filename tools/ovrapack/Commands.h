#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Each command takes its own arguments (after the command name) and returns the
// process exit code; messages go to the given streams.
int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunExtractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

namespace ExitCodes {
constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;
} // namespace ExitCodes
