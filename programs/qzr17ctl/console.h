#pragma once

#include <QString>

// One line of text, with its line end, to standard output or standard error.
void printLine(const QString& line);
void printError(const QString& line);
