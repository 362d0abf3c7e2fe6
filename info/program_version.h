#pragma once

// The program's version: the project's version number, the same one the
// version information block carries.
[[nodiscard]] const char* programVersion();

// True when the whole command line is `--version`; prints "<program> <version>"
// on standard output then, and the caller ends with exit code 0. Any other
// command line is left to the program.
[[nodiscard]] bool printVersionIfAsked(int argc, char** argv, const char* program);
