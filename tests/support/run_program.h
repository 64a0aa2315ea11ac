#pragma once

#include <string>
#include <vector>

namespace tokenade::testing {

struct ProgramRun {
    int exitStatus = -1;  // -1: did not exit normally
    std::string out;
    std::string err;
};

// Runs a program to its end with these arguments, standard input closed, and
// returns what it printed. With `unprivileged`, as root, the program runs as
// an ordinary user, so that file permissions hold for it.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      bool unprivileged = false);

}  // namespace tokenade::testing
