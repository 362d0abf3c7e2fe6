#include "options.h"
#include "program_version.h"
#include "simulator.h"

#include <cstdio>
#include <sys/prctl.h>

namespace {

constexpr int kUsageError = 2;

} // namespace

int main(int argc, char** argv)
{
    if (printVersionIfAsked(argc, argv, "qzr17-sim"))
        return 0;
    // Every line leaves at once: tests and scripts read the port and the events as they come.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // Wire-speed pacing sleeps per character: the default 50 µs of timer
    // slack would be a tenth of a character at 115200 baud.
    prctl(PR_SET_TIMERSLACK, 1UL);
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "qzr17-sim: %s (see --help)\n", parsed.error.c_str());
        return kUsageError;
    }
    if (parsed.options.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    Simulator simulator(parsed.options);
    return simulator.run();
}
