// The console program: the dialogue on standard input and output, the
// search, the report. The only place where a run's status becomes the
// process's exit status.
#include <iostream>

#include "console.h"

namespace {

int exitstatus(RunStatus status)
{
    switch (status) {
    case RunStatus::solved:
        return 0;
    case RunStatus::outputfailed:
        return 1;
    case RunStatus::inputended:
        return 2;
    case RunStatus::exhausted:
        return 4;
    }
    return 4;
}

}  // namespace

int main()
{
    return exitstatus(run(std::cin, std::cout, std::cerr));
}
