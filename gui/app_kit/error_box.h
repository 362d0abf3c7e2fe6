#pragma once

#include <QString>

#include <functional>

// The standard error box: the message, with a full stop appended when its
// last character sorts after '.', caption "KV-36", error icon, OK.
QString errorBoxText(const QString& message);
void showErrorBox(const QString& message);

// Runs a step whose errors end only that step: what it raises is shown in the
// standard error box and the caller goes on. Returns false when it raised.
bool runShowingErrors(const std::function<void()>& step);
