#pragma once

#include <string>
#include <vector>

/// Exit statuses of quorlin.
enum CExitStatus : int {
    kExitDone = 0,        ///< everything asked for was done
    kExitIncomplete = 1,  ///< something was skipped or failed
    kExitUsage = 2,       ///< bad usage; nothing was done
};

/// The command line over the main dialog's model: `args` are the arguments
/// after the program name. Returns the exit status.
int RunQuorlin(const std::vector<std::string>& args);
