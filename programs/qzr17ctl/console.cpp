#include "console.h"

#include <cstdio>

namespace {

void writeLine(std::FILE* stream, const QString& line)
{
    const QByteArray bytes = (line + u'\n').toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

} // namespace

void printLine(const QString& line)
{
    // Flushed line by line, so that a script sees a scan's addresses as they come.
    writeLine(stdout, line);
    std::fflush(stdout);
}

void printError(const QString& line)
{
    writeLine(stderr, line);
}
