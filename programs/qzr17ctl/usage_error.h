#pragma once

#include <QString>

#include <stdexcept>

// A command line that names no valid command, option, table, field or value.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};
