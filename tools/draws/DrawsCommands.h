#pragma once

#include <string>
#include <vector>

namespace zorvi {

// The subcommands of zorvi-draws. Each returns the exit status: 0 done (verify: the log holds),
// 1 verify found a failing line or the work failed, 2 wrong arguments or an unreadable file.
int RunCollect(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
int RunReport(const std::vector<std::string>& args);

} // namespace zorvi
