#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>

class QPagedPaintDevice;
namespace Ui {
class menu_qzr17;
}

// The commissioning report: a printable record, for the customer, of what
// the settings window shows, with the technician's name and a note. Plain
// tables without colour, so that it reads in black and white; as many
// printed pages as it needs.
struct CommissioningReport {
    struct Row {
        QString name;  // the parameter name beside the control
        QString label; // the descriptive label
        QString value; // as shown
    };
    struct Page {
        QString title;
        QList<Row> rows;
    };
    static constexpr int kDays = 7;
    static constexpr int kLevels = 4;

    QString deviceType;
    QString deviceVersion;
    QDateTime created;
    QString address;
    QList<Page> pages;
    QStringList dayNames;
    std::array<std::array<QString, kLevels>, kDays> week; // "6:00<br>-5,00 °C", rich text
    QString technician;
    QString note;

    // Every page of the window and all seven days, as shown; the day edits
    // hold `shownDay`, the other days come from the parameter record.
    static CommissioningReport fromWindow(const Ui::menu_qzr17& ui, int shownDay);

    QString html() const;
    void print(QPagedPaintDevice& device) const;
};
