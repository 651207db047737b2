// The console program: wires standard input, output and error to the run,
// and is the only place where a run's status becomes the exit status.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <variant>

#include "console.h"
#include "memory.h"
#include "options.h"
#include "output.h"
#include "replacefile.h"

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
    case RunStatus::internalfault:
        return 4;
    case RunStatus::nosolution:
        return 5;
    case RunStatus::badoptions:
        return 64;  // EX_USAGE, as sysexits.h numbers a command-line error
    }
    return 4;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Before anything is opened: a file must never take the number of a
    // closed standard descriptor, where messages would land in it.
    fillstandarddescriptors();
    // A reader that goes away (`hanoi | head`) ends the program quietly, as
    // for any Unix filter, even when the parent left SIGPIPE ignored.
    std::signal(SIGPIPE, SIG_DFL);
    // A file-size limit (ulimit -f) then fails the write with EFBIG, which is
    // reported like any other write error, instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    // Room for the last words should an allocation fail anyway. Never
    // written, so its pages are never touched until it is given back; under a
    // limit too tight even for it, the run goes on without it (and the budget
    // then says there is no room to search).
    std::unique_ptr<char[]> reserve(new (std::nothrow) char[std::size_t{1} << 20]);
    FileInput stdinput(STDIN_FILENO);
    std::istream in(&stdinput);
    FileOutput stdoutput(STDOUT_FILENO, false);
    std::ostream out(&stdoutput);
    const std::variant<Options, std::string> options = parseoptions(argc, argv);
    if (const std::string* reason = std::get_if<std::string>(&options)) {
        explainbadoption(std::cerr, *reason);
        return exitstatus(RunStatus::badoptions);
    }
    RunStatus status;
    try {
        status =
            run(std::get<Options>(options), in, out, std::cerr, memorybudget(readmemoryroom()));
    } catch (const std::bad_alloc&) {
        reserve.reset();
        // Not necessarily in the search: it may not have started.
        explainallocationfailure(std::cerr);
        status = RunStatus::outofmemory;
    }
    return exitstatus(finishoutput(status, stdoutput, std::cerr));
}
