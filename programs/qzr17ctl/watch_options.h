#pragma once

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

// Throws UsageError for an unknown option or a bad value, AppError for a
// credentials file that cannot be read or that others can read.
WatchOptions parseWatchOptions(const QStringList& arguments);

QString watchUsageText();
