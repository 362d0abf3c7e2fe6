#pragma once

#include "app_error.h"
#include "watch_mqtt.h"

#include <QString>
#include <QStringList>

#include <optional>

// What qzr17ctl watch is asked to do, checked in full before the port is opened.
struct WatchOptions {
    int interval = 10; // seconds between readings
    QString logFile;
    bool daily = false;
    std::optional<MqttSettings> mqtt;
    QString name; // the device's name for the broker; empty: from its type and address
};

// A file the options name that cannot be used as it is: trying again later
// does not help.
class ConfigurationError : public AppError {
public:
    using AppError::AppError;
};

// Throws UsageError for an unknown option or a bad value, ConfigurationError
// for a credentials or CA file that cannot be read or that others than its
// owner may use.
WatchOptions parseWatchOptions(const QStringList& arguments);

QString watchUsageText();
