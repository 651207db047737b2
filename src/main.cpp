// The console program: wires standard input, output and error to the run,
// and is the only place where a run's status becomes the exit status.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <memory>
#include <new>

#include "console.h"
#include "memory.h"
#include "output.h"

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
    case RunStatus::outofmemory:
        return 3;
    case RunStatus::exhausted:
        return 4;
    }
    return 4;
}

}  // namespace

int main()
{
    // A reader that goes away (`hanoi | head`) ends the program quietly, as
    // for any Unix filter, even when the parent left SIGPIPE ignored.
    std::signal(SIGPIPE, SIG_DFL);
    // Room for the last words should an allocation fail anyway. Never
    // written, so its pages are never touched until it is given back.
    auto reserve = std::make_unique_for_overwrite<char[]>(std::size_t{1} << 20);
    FileOutput stdoutput(STDOUT_FILENO, false);
    std::ostream out(&stdoutput);
    RunStatus status;
    try {
        status = run(std::cin, out, std::cerr, memorybudget(readmemoryroom()));
    } catch (const std::bad_alloc&) {
        reserve.reset();
        std::cerr << "hanoi: memoria esgotada: busca interrompida" << std::endl;
        status = RunStatus::outofmemory;
    }
    return exitstatus(finishoutput(status, stdoutput, std::cerr));
}
