#include "error_box.h"

#include "app_error.h"
#include "prompts.h"

#include <exception>

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void showErrorBox(const QString& message)
{
    prompts().message(errorBoxText(message), QStringLiteral("KV-36"), Prompts::Icon::Error,
                      Prompts::Buttons::Ok);
}

bool runShowingErrors(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const AppError& e) {
        showErrorBox(e.message());
    } catch (const std::exception& e) {
        showErrorBox(QString::fromUtf8(e.what()));
    }
    return false;
}
