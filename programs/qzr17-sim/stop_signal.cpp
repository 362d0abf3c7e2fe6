#include "stop_signal.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t s_stop = 0;
int s_wakePipe[2] = {-1, -1};

void onStopSignal(int)
{
    s_stop = 1;
    const char byte = 0;
    [[maybe_unused]] const auto ignored = ::write(s_wakePipe[1], &byte, 1);
}

} // namespace

void installStopSignals()
{
    if (::pipe2(s_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        std::perror("qzr17-sim: pipe");
        std::exit(1);
    }
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    // Started in the background of a terminal, reading the control channel must not stop the process.
    ::signal(SIGTTIN, SIG_IGN);
    ::signal(SIGTTOU, SIG_IGN);
}

bool stopRequested()
{
    return s_stop != 0;
}

int stopWakeFd()
{
    return s_wakePipe[0];
}
