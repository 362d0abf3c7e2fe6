#pragma once

// SIGINT and SIGTERM end the simulator cleanly: they set a flag and wake the poll loop.
void installStopSignals(); // exits when the wake-up pipe cannot be made
[[nodiscard]] bool stopRequested();
[[nodiscard]] int stopWakeFd(); // readable once a stop signal came
