#include "commissioning_report.h"

#include "ui_UnitMenuMod.h"

#include "edit_conversions.h"
#include "language.h"
#include "param_record.h"

#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QRegularExpression>
#include <QTextDocument>

namespace {

QString cell(const QString& text) { return QStringLiteral("<td>%1</td>").arg(text.toHtmlEscaped()); }

// The labels that name a control: its descriptive label and the label with
// its parameter name.
QList<QLabel*> labelsOf(QWidget* page, QWidget* control)
{
    QList<QLabel*> labels;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            labels.append(label);
    }
    return labels;
}

// "SP_0", "TPID": the short label beside a control.
bool isParameterName(const QString& text)
{
    static const QRegularExpression mnemonic(QStringLiteral("^[A-Z0-9_]{2,5}$"));
    return mnemonic.match(text).hasMatch();
}

QString shownValue(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return qobject_cast<QLabel*>(control)->text().trimmed();
}

// Edits, combo boxes and the read-only value panel, in the page's order.
CommissioningReport::Page pageOf(const QTabWidget* pages, int index)
{
    CommissioningReport::Page page{pages->tabText(index), {}};
    QWidget* widget = pages->widget(index);
    for (QWidget* control : widget->findChildren<QWidget*>()) {
        const bool valueLabel = qobject_cast<QLabel*>(control) && labelsOf(widget, control).size() > 0;
        if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control) && !valueLabel)
            continue;
        if (qobject_cast<QLineEdit*>(control) && qobject_cast<QComboBox*>(control->parentWidget()))
            continue; // a combo box's own edit
        QString name;
        QString label;
        for (const QLabel* l : labelsOf(widget, control))
            (isParameterName(l->text().trimmed()) && name.isEmpty() ? name : label) = l->text().trimmed();
        page.rows.append({name, label, shownValue(control)});
    }
    return page;
}

QString levelText(const QString& hour, const QString& minute, const QString& shift)
{
    bool ok = false;
    const int m = minute.toInt(&ok);
    const QString time = ok ? QStringLiteral("%1:%2").arg(hour).arg(m, 2, 10, QLatin1Char('0'))
                            : QStringLiteral("%1:%2").arg(hour, minute);
    return QStringLiteral("%1<br>%2 °C").arg(time.toHtmlEscaped(), shift.toHtmlEscaped());
}

QString weekHtml(const CommissioningReport& report)
{
    QString html = QCoreApplication::translate(
        "CommissioningReport",
        "<h2>Týdenní režim</h2><table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
        "width=\"100%\"><thead><tr><th>Den</th>");
    for (int level = 1; level <= CommissioningReport::kLevels; ++level)
        html += QCoreApplication::translate("CommissioningReport", "<th>Úroveň %1</th>").arg(level);
    html += QStringLiteral("</tr></thead>");
    for (int day = 0; day < CommissioningReport::kDays; ++day) {
        html += QStringLiteral("<tr>") + cell(report.dayNames.value(day));
        for (const QString& level : report.week[day])
            html += QStringLiteral("<td>%1</td>").arg(level);
        html += QStringLiteral("</tr>");
    }
    return html + QCoreApplication::translate(
                      "CommissioningReport",
                      "</table><p>Úroveň: začátek (hodina:minuta) a pod ním posuv teploty vody.</p>");
}

} // namespace

CommissioningReport CommissioningReport::fromWindow(const Ui::menu_qzr17& ui, int shownDay)
{
    CommissioningReport report;
    report.created = QDateTime::currentDateTime();
    report.address = ui.ed_adresa->text();
    for (int i = 0; i < ui.pgc->count(); ++i)
        report.pages.append(pageOf(ui.pgc, i));
    const std::array<QLineEdit*, kLevels> shifts{ui.ed_utlum1, ui.ed_utlum2, ui.ed_utlum3, ui.ed_utlum4};
    const std::array<QLineEdit*, kLevels> hours{ui.ed_hod1, ui.ed_hod2, ui.ed_hod3, ui.ed_hod4};
    const std::array<QLineEdit*, kLevels> minutes{ui.ed_min1, ui.ed_min2, ui.ed_min3, ui.ed_min4};
    for (int day = 0; day < kDays; ++day) {
        report.dayNames.append(ui.TabControl1->tabText(day));
        const day_record& d = param_record.days[day];
        const std::array<float, kLevels> shift{d.shift1, d.shift2, d.shift3, d.shift4};
        const std::array<int8_t, kLevels> hour{d.hour1, d.hour2, d.hour3, d.hour4};
        const std::array<int8_t, kLevels> minute{d.minute1, d.minute2, d.minute3, d.minute4};
        for (int k = 0; k < kLevels; ++k) {
            report.week[day][k] = day == shownDay
                                      ? levelText(hours[k]->text(), minutes[k]->text(), shifts[k]->text())
                                      : levelText(byteText(hour[k]), byteText(minute[k]), floatText(shift[k]));
        }
    }
    return report;
}

QString CommissioningReport::html() const
{
    const QLocale locale = textLocale();
    QString html = QCoreApplication::translate("CommissioningReport",
                                               "<html><body><h1>Protokol o nastavení regulátoru</h1>"
                                               "<table cellpadding=\"2\">");
    const QList<std::pair<QString, QString>> header{
        {QCoreApplication::translate("CommissioningReport", "Typ přístroje"), deviceType},
        {QCoreApplication::translate("CommissioningReport", "Verze přístroje"), deviceVersion},
        {QCoreApplication::translate("CommissioningReport", "Adresa regulátoru"), address},
        {QCoreApplication::translate("CommissioningReport", "Datum a čas"),
         locale.toString(created, QLocale::LongFormat)},
        {QCoreApplication::translate("CommissioningReport", "Technik"), technician},
    };
    for (const auto& [caption, value] : header)
        html += QStringLiteral("<tr><td><b>%1:</b></td>").arg(caption) + cell(value) + QStringLiteral("</tr>");
    html += QCoreApplication::translate("CommissioningReport",
                                        "<tr><td><b>Poznámka:</b></td><td>%1</td></tr></table>")
                .arg(note.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")));
    for (const Page& page : pages) {
        // The page's title heads its table, so that a page break never parts them.
        html += QCoreApplication::translate(
                    "CommissioningReport",
                    "<p></p><table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\"><thead>"
                    "<tr><th colspan=\"3\" align=\"left\"><big>%1</big></th></tr><tr><th width=\"16%\">"
                    "Parametr</th><th>Popis</th><th width=\"30%\">Hodnota</th></tr></thead>")
                    .arg(page.title.toHtmlEscaped());
        for (const Row& row : page.rows)
            html += QStringLiteral("<tr>") + cell(row.name) + cell(row.label) + cell(row.value) + QStringLiteral("</tr>");
        html += QStringLiteral("</table>");
    }
    html += weekHtml(*this);
    return html + QCoreApplication::translate(
                      "CommissioningReport",
                      "<p><br><br>Podpis technika: ..............................</p></body></html>");
}

void CommissioningReport::print(QPagedPaintDevice& device) const
{
    QTextDocument document;
    // No ligatures: a PDF that holds "fi" as one character is not found by
    // searching or copying the text as it reads.
    QFont font = document.defaultFont();
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setHtml(html());
    document.print(&device);
}
