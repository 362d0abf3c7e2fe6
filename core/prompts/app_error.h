#pragma once

#include <QString>

#include <stdexcept>

// The application's general error type. Whatever escapes an event handler is
// shown to the user in the standard error box with this text.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString& message() const { return m_message; }

private:
    QString m_message;
};
