#include "program_version.h"

#include <cstdio>
#include <cstring>

bool printVersionIfAsked(int argc, char** argv, const char* program)
{
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    std::printf("%s %s\n", program, KV36_VERSION);
    return true;
}
