#pragma once

// True when the whole command line is `--version`; prints "<program> <version>"
// on standard output then, with the project's version number (the one the
// version information block carries), and the caller ends with exit code 0.
// Any other command line is left to the program.
[[nodiscard]] bool printVersionIfAsked(int argc, char** argv, const char* program);
