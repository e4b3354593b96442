#pragma once

#include <string>
#include <vector>

namespace zorvi {

// The subcommands of zorvi-coupons. Each returns the exit status: 0 done (inspect: clean),
// 1 inspect found faults or the work failed, 2 wrong arguments or an unreadable file.
int RunGenerate(const std::vector<std::string>& args);
int RunGenerateSamples(const std::vector<std::string>& args);
int RunInspect(const std::vector<std::string>& args);
int RunPrint(int argc, char** argv, const std::vector<std::string>& args);

constexpr int kExitDone = 0;
constexpr int kExitFaults = 1;
constexpr int kExitUsage = 2;

// Parses "--numbers 75|90"; 0 when absent or another value (message written).
int ParseNumbersOption(const std::string& value);

} // namespace zorvi
