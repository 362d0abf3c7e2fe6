#include "log_history_window.h"

#include "app_error.h"
#include "history_chart.h"
#include "log_history_csv.h"
#include "log_lines.h"
#include "measured_text.h"
#include "param_record.h"
#include "param_set_file.h"
#include "prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include <cmath>

namespace {

constexpr QSize kInitialSize(960, 640);
constexpr int kSwatchSize = 12;
constexpr int kPictureMargin = 6;

const char* const kValueNames[kLogValueCount] = {QT_TRANSLATE_NOOP("LogHistoryWindow", "teplota vody"),
                                                 QT_TRANSLATE_NOOP("LogHistoryWindow", "venkovní teplota"),
                                                 QT_TRANSLATE_NOOP("LogHistoryWindow", "žádaná"),
                                                 QT_TRANSLATE_NOOP("LogHistoryWindow", "útlum"),
                                                 QT_TRANSLATE_NOOP("LogHistoryWindow", "odchylka")};

QString momentText(const QDateTime& moment)
{
    const QLocale locale;
    return locale.toString(moment.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(moment.time(), log_lines::longTimeFormat());
}

QIcon swatch(const QColor& color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    return info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
}

// Each write checked and the size on disk compared: a full disk can leave
// commit() true over an empty file.
void commitChecked(QSaveFile& file, bool written, const QString& path)
{
    const qint64 size = file.pos();
    if (!written || !file.flush() || file.error() != QFileDevice::NoError || !file.commit() ||
        QFileInfo(path).size() != size)
        throw AppError(LogHistoryWindow::tr("Soubor %1 nelze uložit").arg(QDir::toNativeSeparators(path)));
}

} // namespace

LogHistoryWindow::LogHistoryWindow(const QString& path, LogHistory history, QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_path(path), m_history(std::move(history))
{
    setObjectName(QStringLiteral("zaznam_mereni"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildToolBar();
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pgc_zaznam"));
    m_tabs->addTab(buildTimeTab(), QString());
    m_tabs->addTab(buildCurveTab(), QString());
    auto* central = new QWidget;
    auto* rows = new QGridLayout(central);
    rows->addWidget(m_tabs, 0, 0, 1, 2);
    ed_rozsah = addReadOnlyLine(rows, 1, QT_TR_NOOP("Zobrazeno:"));
    ed_rozsah->setObjectName(QStringLiteral("ed_rozsah"));
    setCentralWidget(central);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("lb_souhrn"));
    statusBar()->addWidget(m_summary, 1);
    connect(m_chart, &HistoryChart::rangeChanged, this, &LogHistoryWindow::showRange);
    connect(m_chart, &HistoryChart::cursorChanged, this, &LogHistoryWindow::showCursor);
    connect(m_tabs, &QTabWidget::currentChanged, this, &LogHistoryWindow::showCurve);
    m_chart->setHistory(&m_history);
    retranslate();
    resize(kInitialSize);
}

QAction* LogHistoryWindow::addTool(QToolBar* tools, const char* name, const char* text,
                                   void (LogHistoryWindow::*handler)())
{
    QAction* action = m_texts.set(tools->addAction(QString()), "text", text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void LogHistoryWindow::buildToolBar()
{
    QToolBar* tools = addToolBar(QString());
    tools->setObjectName(QStringLiteral("tb_zaznam"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_texts.set(tools, "windowTitle", QT_TR_NOOP("Nástroje"));
    addTool(tools, "tl_obnovit", QT_TR_NOOP("Obnovit"), &LogHistoryWindow::tl_obnovitClick)
        ->setShortcut(QKeySequence::Refresh);
    addTool(tools, "tl_cely", QT_TR_NOOP("Celý záznam"), &LogHistoryWindow::tl_celyClick);
    addTool(tools, "tl_priblizit", QT_TR_NOOP("Přiblížit"), &LogHistoryWindow::tl_priblizitClick);
    addTool(tools, "tl_oddalit", QT_TR_NOOP("Oddálit"), &LogHistoryWindow::tl_oddalitClick);
    tools->addSeparator();
    addTool(tools, "tl_csv", QT_TR_NOOP("Export do CSV..."), &LogHistoryWindow::tl_csvClick);
    addTool(tools, "tl_obrazek", QT_TR_NOOP("Uložit obrázek..."), &LogHistoryWindow::tl_obrazekClick);
}

QWidget* LogHistoryWindow::buildTimeTab()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    auto* boxes = new QHBoxLayout;
    for (int value = 0; value < kLogValueCount; ++value) {
        auto* box = new QCheckBox;
        box->setObjectName(QStringLiteral("check_hodnota%1").arg(value + 1));
        box->setChecked(true);
        box->setIcon(swatch(HistoryChart::colorOf(LogValue(value))));
        m_texts.set(box, "text", kValueNames[value]);
        m_texts.set(box, "accessibleName", kValueNames[value]);
        // toggled, not clicked: the accessible toggle action emits only toggled.
        connect(box, &QCheckBox::toggled, this,
                [this, value](bool on) { m_chart->setValueShown(LogValue(value), on); });
        boxes->addWidget(box);
    }
    boxes->addStretch(1);
    layout->addLayout(boxes, 0, 0, 1, 2);
    m_chart = new HistoryChart;
    m_chart->setObjectName(QStringLiteral("graf_zaznam"));
    m_texts.set(m_chart, "accessibleName", QT_TR_NOOP("Průběh záznamu"));
    m_texts.set(
        m_chart, "accessibleDescription",
        QT_TR_NOOP("Kolečko nebo + a - přiblíží, tažení nebo šipky posunou, tažení pravým tlačítkem "
                   "přiblíží vybraný obdélník, Home ukáže celý záznam, Ctrl se šipkou posune kurzor."));
    m_texts.set(m_chart, "toolTip",
                QT_TR_NOOP("Kolečko přiblíží, tažení posune, tažení pravým tlačítkem přiblíží "
                           "obdélník, Home ukáže celý záznam"));
    layout->addWidget(m_chart, 1, 0, 1, 2);
    layout->setRowStretch(1, 1);
    ed_kurzor = addReadOnlyLine(layout, 2, QT_TR_NOOP("Kurzor:"));
    ed_kurzor->setObjectName(QStringLiteral("ed_kurzor"));
    return page;
}

QWidget* LogHistoryWindow::buildCurveTab()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    m_curveChart = new CurveChart;
    m_curveChart->setObjectName(QStringLiteral("graf_krivka"));
    m_texts.set(m_curveChart, "accessibleName", QT_TR_NOOP("Topná křivka"));
    m_texts.set(m_curveChart, "accessibleDescription",
                QT_TR_NOOP("Teplota vody a žádaná teplota zobrazeného úseku proti venkovní teplotě, s topnou "
                           "křivkou regulátoru"));
    layout->addWidget(m_curveChart, 0, 0, 1, 4);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(1, 1);
    ed_krivka = addReadOnlyLine(layout, 1, QT_TR_NOOP("Křivka:"));
    ed_krivka->setObjectName(QStringLiteral("ed_krivka"));
    const auto addButton = [&](const char* name, const char* text, void (LogHistoryWindow::*handler)(),
                               int column) {
        auto* button = new QPushButton;
        button->setObjectName(QLatin1String(name));
        m_texts.set(button, "text", text);
        m_texts.set(button, "accessibleName", text);
        connect(button, &QPushButton::clicked, this, handler);
        layout->addWidget(button, 1, column);
    };
    addButton("tl_regulator", QT_TR_NOOP("Z regulátoru"), &LogHistoryWindow::tl_regulatorClick, 2);
    addButton("tl_sada", QT_TR_NOOP("Ze sady parametrů..."), &LogHistoryWindow::tl_sadaClick, 3);
    return page;
}

// A value the user reads but does not edit: a read-only edit, whose text
// assistive technology reads, with its caption as the accessible name.
QLineEdit* LogHistoryWindow::addReadOnlyLine(QGridLayout* layout, int row, const char* caption)
{
    auto* label = m_texts.set(new QLabel, "text", caption);
    auto* line = new QLineEdit;
    line->setReadOnly(true);
    m_texts.set(line, "accessibleName", caption);
    label->setBuddy(line);
    layout->addWidget(label, row, 0);
    layout->addWidget(line, row, 1);
    return line;
}

void LogHistoryWindow::openFromDialog(QWidget* owner)
{
    const auto path = prompts().openFileName(
        {tr("Otevřít záznam"), tr("Záznam měření (*.txt);;Všechny soubory (*)")}, owner);
    if (path)
        open(*path, owner);
}

LogHistoryWindow* LogHistoryWindow::windowOf(const QString& path, QWidget* owner)
{
    const QList<QWidget*> windows =
        owner ? owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly) : QApplication::topLevelWidgets();
    for (QWidget* widget : windows) {
        auto* window = qobject_cast<LogHistoryWindow*>(widget);
        if (window && canonical(window->m_path) == canonical(path))
            return window;
    }
    return nullptr;
}

LogHistoryWindow* LogHistoryWindow::open(const QString& path, QWidget* owner)
{
    LogHistoryWindow* window = windowOf(path, owner);
    if (window) {
        window->reload();
    } else {
        LogReadResult result = readLogFile(path);
        if (const auto* fault = std::get_if<LogFault>(&result)) {
            prompts().message(logFaultMessage(*fault, path), tr("Záznam měření"), Prompts::Icon::Warning,
                              Prompts::Buttons::Ok, owner);
            return nullptr;
        }
        window = new LogHistoryWindow(path, std::move(std::get<LogHistory>(result)), owner);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// A log being written has grown since; one that can no longer be read
// keeps what the window shows.
bool LogHistoryWindow::reload()
{
    LogReadResult result = readLogFile(m_path);
    if (const auto* fault = std::get_if<LogFault>(&result)) {
        prompts().message(logFaultMessage(*fault, m_path), tr("Záznam měření"), Prompts::Icon::Warning,
                          Prompts::Buttons::Ok, this);
        return false;
    }
    m_history = std::move(std::get<LogHistory>(result));
    m_chart->setHistory(&m_history);
    showSummary();
    showCursor();
    return true;
}

void LogHistoryWindow::tl_obnovitClick()
{
    reload();
}
void LogHistoryWindow::tl_celyClick()
{
    m_chart->showWhole();
}
void LogHistoryWindow::tl_priblizitClick()
{
    m_chart->zoom(0.5);
}
void LogHistoryWindow::tl_oddalitClick()
{
    m_chart->zoom(2.0);
}

std::pair<qsizetype, qsizetype> LogHistoryWindow::visibleSamples() const
{
    return {m_history.lowerBound(m_chart->from()), m_history.upperBound(m_chart->to())};
}

std::optional<QString> LogHistoryWindow::askSaveName(const char* title, const char* filter,
                                                     const char* extension)
{
    const QFileInfo log(m_path);
    const QString suggested = log.dir().filePath(log.completeBaseName() + u'.' + QLatin1String(extension));
    return prompts().saveFileName({tr(title), suggested, tr(filter), QLatin1String(extension)}, this);
}

void LogHistoryWindow::tl_csvClick()
{
    const auto path = askSaveName(QT_TR_NOOP("Export do CSV"), QT_TR_NOOP("Soubor CSV (*.csv)"), "csv");
    if (!path)
        return;
    const auto [first, last] = visibleSamples();
    QSaveFile file(*path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    commitChecked(file, opened && writeLogCsv(m_history, first, last, file), *path);
}

// The chart in front, as the window shows it, under the file's name and the
// range shown; the time chart with the colours of the values it shows,
// which the window's check boxes tell but the chart alone does not.
QImage LogHistoryWindow::picture() const
{
    const bool timeChart = m_tabs->currentIndex() == 0;
    const QPixmap chart = (timeChart ? static_cast<QWidget*>(m_chart) : m_curveChart)->grab();
    const QSize size = chart.deviceIndependentSize().toSize();
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const QStringList heading{windowTitle(), tr("Zobrazeno:") + u' ' + ed_rozsah->text()};
    const int headingHeight = int(heading.size()) * line + 2 * kPictureMargin;
    const int legendHeight = timeChart ? line + 2 * kPictureMargin : 0;
    QImage image(QSize(size.width(), headingHeight + size.height() + legendHeight) * chart.devicePixelRatio(),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(chart.devicePixelRatio());
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(Qt::black);
    for (int i = 0; i < heading.size(); ++i)
        painter.drawText(kPictureMargin, kPictureMargin + i * line + metrics.ascent(),
                         metrics.elidedText(heading[i], Qt::ElideRight, size.width() - 2 * kPictureMargin));
    painter.drawPixmap(0, headingHeight, chart);
    int x = kPictureMargin;
    const int top = headingHeight + size.height() + kPictureMargin;
    for (int value = 0; timeChart && value < kLogValueCount; ++value) {
        if (!m_chart->valueShown(LogValue(value)))
            continue;
        painter.fillRect(QRect(x, top + (line - kSwatchSize) / 2, kSwatchSize, kSwatchSize),
                         HistoryChart::colorOf(LogValue(value)));
        x += kSwatchSize + kPictureMargin;
        const QString name = tr(kValueNames[value]);
        painter.setPen(Qt::black);
        painter.drawText(x, top + metrics.ascent(), name);
        x += metrics.horizontalAdvance(name) + 2 * kPictureMargin;
    }
    return image;
}

void LogHistoryWindow::tl_obrazekClick()
{
    const auto path = askSaveName(QT_TR_NOOP("Uložit obrázek"), QT_TR_NOOP("Obrázek PNG (*.png)"), "png");
    if (!path)
        return;
    const QImage image = picture();
    QSaveFile file(*path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    commitChecked(file, opened && image.save(&file, "PNG"), *path);
}

void LogHistoryWindow::tl_regulatorClick()
{
    m_setFile.reset();
    m_setCurve.reset();
    showCurve();
}

void LogHistoryWindow::tl_sadaClick()
{
    const auto path =
        prompts().openFileName({tr("Topná křivka ze sady parametrů"), tr("Sada parametrů (*.qzr)")}, this);
    if (!path)
        return;
    const param_set::ReadResult result = param_set::readSetFile(*path);
    if (const auto* error = std::get_if<param_set::SetError>(&result)) {
        prompts().message(error->message(), tr("Sada parametrů"), Prompts::Icon::Warning,
                          Prompts::Buttons::Ok, this);
        return;
    }
    // A set is read only when complete: table 0 is there.
    const param_set::ParamSet& set = std::get<param_set::ParamSet>(result);
    m_setFile = *path;
    m_setCurve = HeatingCurve{set.record.SP_0, set.record.SP20};
    showCurve();
}

void LogHistoryWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        m_texts.retranslate();
        retranslate();
    }
}

void LogHistoryWindow::retranslate()
{
    setWindowTitle(tr("Záznam měření - %1").arg(QFileInfo(m_path).fileName()));
    m_tabs->setTabText(0, tr("Průběh v čase"));
    m_tabs->setTabText(1, tr("Topná křivka"));
    showSummary();
    showRange();
    showCursor();
    showCurve();
}

void LogHistoryWindow::showSummary()
{
    const QString text = logSummary(m_history);
    m_summary->setText(text);
    // The summary is all this label says: assistive technology reads its name.
    m_summary->setAccessibleName(text);
}

void LogHistoryWindow::showRange()
{
    showCurveSamples();
    if (m_history.size() == 0) {
        ed_rozsah->setText(tr("záznam zatím neobsahuje žádná měření"));
        return;
    }
    const auto [first, last] = visibleSamples();
    ed_rozsah->setText(tr("%1 až %2, měření: %L3")
                           .arg(momentText(m_history.localTimeAt(std::ceil(m_chart->from()))),
                                momentText(m_history.localTimeAt(std::floor(m_chart->to()))))
                           .arg(last - first));
    ed_rozsah->setCursorPosition(0);
}

void LogHistoryWindow::showCursor()
{
    const auto sample = m_chart->cursorSample();
    const auto cursor = m_chart->cursor();
    if (!sample && cursor && m_history.size() > 0) {
        ed_kurzor->setText(tr("%1: bez měření (mezera nebo výpadek v záznamu)")
                               .arg(momentText(m_history.localTimeAt(*cursor))));
        return;
    }
    if (!sample) {
        ed_kurzor->setText(tr("ukažte myší do grafu nebo posuňte kurzor klávesami Ctrl a šipkou"));
        return;
    }
    QStringList parts{momentText(m_history.localTime(*sample))};
    for (int value = 0; value < kLogValueCount; ++value) {
        const float v = m_history.value(LogValue(value), *sample);
        parts.append(tr(kValueNames[value]) + u' ' + (std::isnan(v) ? QStringLiteral("-") : measuredText(v)));
    }
    ed_kurzor->setText(parts.join(QStringLiteral("; ")));
    ed_kurzor->setCursorPosition(0);
}

void LogHistoryWindow::showCurveSamples()
{
    if (m_tabs->currentIndex() != 1)
        return;
    const auto [first, last] = visibleSamples();
    m_curveChart->setSamples(&m_history, first, last);
}

// The regulator's curve is taken anew each time the view is shown: the
// settings window may have read it since. A record never read holds zeros.
void LogHistoryWindow::showCurve()
{
    const QLocale locale;
    const auto describe = [&](const HeatingCurve& c) {
        return tr("SP_0 %1 °C, SP20 %2 °C")
            .arg(locale.toString(c.sp0, 'f', 2), locale.toString(c.sp20, 'f', 2));
    };
    if (m_setCurve) {
        m_curveChart->setCurve(m_setCurve);
        ed_krivka->setText(
            tr("ze sady parametrů %1: %2").arg(QDir::toNativeSeparators(*m_setFile), describe(*m_setCurve)));
    } else if (param_record.SP_0 != 0 || param_record.SP20 != 0) {
        const HeatingCurve curve{param_record.SP_0, param_record.SP20};
        m_curveChart->setCurve(curve);
        ed_krivka->setText(
            tr("z regulátoru, jak ji naposledy přečetlo nastavení regulátoru: %1").arg(describe(curve)));
    } else {
        m_curveChart->setCurve(std::nullopt);
        ed_krivka->setText(
            tr("z regulátoru zatím nepřečtena (Konfigurace > Nastavení regulátoru), nebo zvolte "
               "sadu parametrů"));
    }
    ed_krivka->setCursorPosition(0);
    showCurveSamples();
}
