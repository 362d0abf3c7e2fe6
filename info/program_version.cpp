#include "program_version.h"

#include <cstdio>
#include <cstring>

const char* programVersion()
{
    return KV36_VERSION;
}

bool printVersionIfAsked(int argc, char** argv, const char* program)
{
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    std::printf("%s %s\n", program, programVersion());
    return true;
}
