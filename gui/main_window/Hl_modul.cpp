#include "Hl_modul.h"

#include "UnitNast.h"
#include "UnitPort.h"
#include "UnitProvoz.h"
#include "deviation_chart.h"
#include "language.h"
#include "link_status.h"
#include "log_history_window.h"
#include "log_lines.h"
#include "prompts.h"
#include "value_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kPanelTop = 40;
constexpr int kPanelHeight = 65;
constexpr int kChartTop = 128;
constexpr int kSecondsPerMinute = 60;
// Controls kept at the right edge: their distance from it in the designed
// client width of 643 pixels.
constexpr int kDesignedClientWidth = 643;

const QString kDesktop = QStringLiteral("DESKTOP");
const QString kGraf = QStringLiteral("GRAF");
const QString kProvoz = QStringLiteral("PROVOZ");

QLabel* makeLabel(TranslatedTexts& texts, const char* text, QWidget* parent, int left, int top)
{
    auto* label = new QLabel(parent);
    texts.set(label, "text", text);
    texts.set(label, "accessibleName", text);
    label->move(left, top);
    return label;
}

// The screen that holds the middle of a window at `place` (its frame's
// corner) of `size`; none when that is off every screen. Stored values can be
// anything: the middle is worked out without overflow.
QScreen* screenOf(const QPoint& place, const QSize& size)
{
    const auto middle = [](int start, int length) {
        return static_cast<int>(std::clamp<qint64>(qint64(start) + length / 2, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
    };
    return QGuiApplication::screenAt({middle(place.x(), size.width()), middle(place.y(), size.height())});
}

// A window comes up whole on `screen`: no larger than the screen's free area
// and moved in until its title bar and every edge are in reach. `frame` is
// what the window manager adds around the window's own size; the result is
// the frame's corner and the window's size.
QRect withinScreen(const QScreen& screen, const QPoint& place, const QSize& size, const QSize& frame)
{
    const QRect room = screen.availableGeometry();
    const QSize fitted = size.boundedTo(room.size() - frame).expandedTo({0, 0});
    const auto inside = [](int start, int length, int roomStart, int roomLength) {
        return std::clamp(start, roomStart, roomStart + std::max(roomLength - length, 0));
    };
    return {QPoint(inside(place.x(), fitted.width() + frame.width(), room.x(), room.width()),
                   inside(place.y(), fitted.height() + frame.height(), room.y(), room.height())),
            fitted};
}

} // namespace

// The icons live in this static library: register them before the first use.
static void initMenuIcons() { Q_INIT_RESOURCE(menu_icons); }

QColor colorFromStored(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colorToStored(const QColor& color) { return color.red() | color.green() << 8 | color.blue() << 16; }

Tqzr17::Tqzr17(QWidget* parent)
    : QMainWindow(parent), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    initMenuIcons();
    setObjectName(QStringLiteral("qzr17"));
    setWindowTitle(QStringLiteral("QZR 17"));
    setAccessibleName(windowTitle());
    setCentralWidget(new QWidget(this));
    buildPanel();
    buildMenus();
    m_printer->setPageOrientation(QPageLayout::Landscape);
    connectHandlers();
    resize(kDesignedWidth, kDesignedHeight);
    move(kDesignedLeft, kDesignedTop);
}

Tqzr17::~Tqzr17() = default;

ValuePanel* Tqzr17::addValuePanel(const char* name, const char* title, int left, int titleLeft, int width,
                                  const char* hint)
{
    makeLabel(m_texts, title, m_panel1, titleLeft, 8);
    auto* panel = m_texts.set(new ValuePanel(QString(), m_panel1), "accessibleName", title);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(left, 24, width, 33);
    if (hint)
        m_texts.set(panel, "toolTip", hint);
    QFont big = panel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    panel->setFont(big);
    return panel;
}

void Tqzr17::buildPanel()
{
    QWidget* client = centralWidget();
    makeLabel(m_texts, QT_TR_NOOP("Aktuální naměřená teplota"), client, 8, 24)
        ->setObjectName(QStringLiteral("Label49"));

    m_panel1 = new QFrame(client);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_texts.set(m_panel1, "accessibleName", QT_TR_NOOP("Aktuální naměřená teplota"));

    pa_voda = addValuePanel("pa_voda", QT_TR_NOOP("teplota vody"), 16, 16, 73,
                            QT_TR_NOOP("Ukazuje teplotu topné vody"));
    pa_venkovni = addValuePanel("pa_venkovni", QT_TR_NOOP("venkovní teplota"), 104, 104, 81,
                                QT_TR_NOOP("Ukazuje venkovní teplotu"));
    pa_sp = addValuePanel("pa_sp", QT_TR_NOOP("žádaná"), 208, 224, 73, nullptr);
    pa_utlum = addValuePanel("pa_utlum", QT_TR_NOOP("útlum"), 304, 320, 73, nullptr);
    pa_odchylka = addValuePanel("pa_odchylka", QT_TR_NOOP("odchylka"), 392, 408, 73, nullptr);

    m_penSwatch = new QFrame(m_panel1);
    m_penSwatch->setObjectName(QStringLiteral("pa_barva_pera"));
    m_penSwatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_penSwatch->setAutoFillBackground(true);
    m_texts.set(m_penSwatch, "accessibleName", QT_TR_NOOP("Barva pera"));

    m_penButton = new QPushButton(m_panel1);
    m_penButton->setObjectName(QStringLiteral("tl_barva_pera"));
    m_texts.set(m_penButton, "text", QT_TR_NOOP("Barva pera"));
    m_texts.set(m_penButton, "accessibleName", QT_TR_NOOP("Barva pera"));

    check_spust = new QCheckBox(m_panel1);
    check_spust->setObjectName(QStringLiteral("check_spust"));
    m_texts.set(check_spust, "text", QT_TR_NOOP("aut. čtení"));
    m_texts.set(check_spust, "toolTip", QT_TR_NOOP("Spustí automatické čtení naměřených hodnot regulátoru"));
    m_texts.set(check_spust, "accessibleName", QT_TR_NOOP("aut. čtení"));
    // toggled, not clicked: the accessible toggle action emits only toggled.
    connect(check_spust, &QCheckBox::toggled, this, &Tqzr17::check_spustClick);

    m_receptionLamp = new QFrame(m_panel1);
    m_receptionLamp->setObjectName(QStringLiteral("pa_prijem"));
    m_receptionLamp->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_receptionLamp->setStyleSheet(QStringLiteral("background-color: lime;"));
    m_texts.set(m_receptionLamp, "accessibleName", QT_TR_NOOP("příjem"));
    m_receptionLamp->hide();

    Chart1 = new DeviationChart(client);
    Chart1->setObjectName(QStringLiteral("Chart1"));

    // The chart gives up the status bar's height; the window keeps its size.
    m_linkStatus = new LinkStatus(this);
    statusBar()->addWidget(m_linkStatus, 1);
}

void Tqzr17::setLinkWindow(Tport* window)
{
    m_linkWindow = window;
    m_linkStatus->setPortSource([this]() -> LinkStatus::Port {
        if (!m_linkWindow)
            return {};
        const SerialLine& line = m_linkWindow->line();
        if (!line.isOpen() && !line.deviceLost())
            return {};
        return {line.shownName(), line.baudRate(), line.deviceLost(), line.isNetworkPort()};
    });
}

QAction* Tqzr17::addMenuItem(QMenu* menu, const char* name, const char* caption, const QString& icon)
{
    QAction* action = m_texts.set(menu->addAction(QString()), "text", caption);
    action->setObjectName(QLatin1String(name));
    if (icon.isEmpty())
        return action;
    // Reading the pictures is a good part of the window's making: they are
    // read when their menu first opens, not at start-up.
    const QString path = QStringLiteral(":/menu/%1.svg").arg(icon);
    connect(menu, &QMenu::aboutToShow, action, [action, path] { action->setIcon(QIcon(path)); },
            Qt::SingleShotConnection);
    return action;
}

void Tqzr17::buildMenus()
{
    QMenu* file = m_texts.set(menuBar()->addMenu(QString()), "title", QT_TR_NOOP("&Soubor"));
    file->setObjectName(QStringLiteral("mn_sobor"));
    connect(addMenuItem(file, "mn_novy", QT_TR_NOOP("Nový..."), QStringLiteral("document-new")),
            &QAction::triggered, this, &Tqzr17::mn_novyClick);
    file->addSeparator();
    connect(addMenuItem(file, "mn_uloz", QT_TR_NOOP("Uložit"), QStringLiteral("document-save")),
            &QAction::triggered, this, &Tqzr17::mn_ulozClick);
    connect(addMenuItem(file, "mn_uloz_jako", QT_TR_NOOP("Uložit jako..."), QString()), &QAction::triggered,
            this, &Tqzr17::mn_uloz_jakoClick);
    connect(addMenuItem(file, "mn_otevri", QT_TR_NOOP("Otevřít záznam..."), QStringLiteral("document-open")),
            &QAction::triggered, this, &Tqzr17::mn_otevriClick);
    file->addSeparator();
    connect(addMenuItem(file, "mn_print", QT_TR_NOOP("Tisk..."), QStringLiteral("document-print")),
            &QAction::triggered, this, &Tqzr17::mn_printClick);
    file->addSeparator();
    connect(addMenuItem(file, "mn_konec", QT_TR_NOOP("&Konec"), QString()), &QAction::triggered, this,
            &Tqzr17::mn_konecClick);

    QMenu* config = m_texts.set(menuBar()->addMenu(QString()), "title", QT_TR_NOOP("&Konfigurace"));
    config->setObjectName(QStringLiteral("mn_konfigurace"));
    connect(addMenuItem(config, "mn_port", QT_TR_NOOP("Komunikační port"), QStringLiteral("network-wired")),
            &QAction::triggered, this, &Tqzr17::mn_portClick);
    connect(addMenuItem(config, "mn_regul", QT_TR_NOOP("Nastavení regulátoru"),
                        QStringLiteral("preferences-system")),
            &QAction::triggered, this, &Tqzr17::mn_regulClick);
    connect(addMenuItem(config, "mn_graf", QT_TR_NOOP("Nastavení ukládání"),
                        QStringLiteral("document-properties")),
            &QAction::triggered, this, &Tqzr17::mn_grafClick);
    connect(addMenuItem(config, "mn_provoz", QT_TR_NOOP("Provoz na sběrnici"),
                        QStringLiteral("network-transmit-receive")),
            &QAction::triggered, this, &Tqzr17::mn_provozClick);

    QMenu* help = m_texts.set(menuBar()->addMenu(QString()), "title", QT_TR_NOOP("&Nápověda"));
    help->setObjectName(QStringLiteral("mn_help"));
    connect(addMenuItem(help, "mn_about", QT_TR_NOOP("O aplikaci"), QStringLiteral("help-about")),
            &QAction::triggered, this, &Tqzr17::mn_aboutClick);
    connect(addMenuItem(help, "mn_ident", QT_TR_NOOP("Identifikace"), QStringLiteral("dialog-information")),
            &QAction::triggered, this, &Tqzr17::mn_identClick);
    addLanguageMenu(help);
}

// The submenu keeps its bilingual name and the languages their own names, so
// that it is found whatever language the menus speak.
void Tqzr17::addLanguageMenu(QMenu* help)
{
    help->addSeparator();
    QMenu* languages = help->addMenu(QStringLiteral("Jazyk / Language"));
    languages->setObjectName(QStringLiteral("mn_jazyk"));
    auto* group = new QActionGroup(languages);
    const auto add = [&](const char* name, const QString& caption, Language language) {
        QAction* action = group->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(true);
        action->setChecked(currentLanguage() == language);
        languages->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { chooseLanguage(language); });
    };
    add("mn_cestina", QStringLiteral("Čeština"), Language::Czech);
    add("mn_english", QStringLiteral("English"), Language::English);
}

void Tqzr17::chooseLanguage(Language language)
{
    applyLanguage(language);
    if (m_store)
        storeLanguage(*m_store, language);
}

void Tqzr17::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_texts.retranslate();
}

void Tqzr17::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const int width = centralWidget()->width();
    m_panel1->setGeometry(0, kPanelTop, std::max(width - 2, 0), kPanelHeight);
    Chart1->setGeometry(0, kChartTop, width, std::max(centralWidget()->height() - kChartTop, 0));
    placeRightAnchored();
}

void Tqzr17::placeRightAnchored()
{
    const int shift = centralWidget()->width() - kDesignedClientWidth;
    m_penSwatch->setGeometry(488 + shift, 8, 25, 25);
    m_penButton->setGeometry(528 + shift, 8, 75, 25);
    check_spust->setGeometry(488 + shift, 40, 97, 17);
    m_receptionLamp->setGeometry(584 + shift, 40, 15, 15);
}

void Tqzr17::FormCreate()
{
    m_store = std::make_unique<SettingsStore>();
    restoreGeometry();
    // No negative limit or interval is ever used: a negative stored value
    // means no old points kept, or every second.
    point_limit = std::max(m_store->ReadInteger(kGraf, QStringLiteral("POCET"), 400), 0);
    pen_color = colorFromStored(m_store->ReadInteger(kGraf, QStringLiteral("PERO"), 255));
    paintSwatch();
    Chart1->setPenColor(pen_color);
    readIntervals();
    point_x = 0.0;
    chart_tick = chart_interval;
    file_tick = file_interval;
    log_named = false;
}

void Tqzr17::readIntervals()
{
    // The log interval is kept in seconds but set in whole minutes.
    const auto interval = [this](const QString& key, int largest) {
        const int seconds = m_store->ReadInteger(kGraf, key, 1);
        return seconds < 0 ? 1 : std::min(seconds, largest);
    };
    chart_interval = interval(QStringLiteral("DOGRAFU"), std::numeric_limits<int>::max());
    file_interval = interval(QStringLiteral("DOSOUBORU"), Tform_nastaveni::kLargestMinutes * kSecondsPerMinute);
}

void Tqzr17::restoreGeometry()
{
    move(m_store->ReadInteger(kDesktop, QStringLiteral("Left"), x()), y());
    move(x(), m_store->ReadInteger(kDesktop, QStringLiteral("Top"), y()));
    resize(usableSize({m_store->ReadInteger(kDesktop, QStringLiteral("Width"), width()),
                       m_store->ReadInteger(kDesktop, QStringLiteral("Height"), height())},
                      {kDesignedWidth, kDesignedHeight}));
    m_storedPos = pos();
    fitOnScreen();
}

// A window stored on a screen that is no longer there, or partly off its
// screen, would open out of reach: it is shown whole (on the primary screen
// when its own is gone), but the stored place is kept unless the user moves
// the window.
void Tqzr17::fitOnScreen()
{
    QScreen* screen = screenOf(pos(), size());
    const QRect place = withinScreen(screen ? *screen : *QGuiApplication::primaryScreen(), pos(), size(),
                                     frameGeometry().size() - geometry().size());
    resize(place.size());
    move(place.topLeft());
    m_shownPos = pos();
}

void Tqzr17::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Only a shown window has the window manager's frame: fitted again with it.
    if (!event->spontaneous())
        fitOnScreen();
}

// A damaged store can hold sizes no user made: one larger than the screen is
// cut to it, one too small to use gives way to the designed size.
QSize usableSize(const QSize& stored, const QSize& designed)
{
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    const auto bounded = [](int value, int least, int designed, int most) {
        return value < least ? designed : std::min(value, most);
    };
    return {bounded(stored.width(), Tqzr17::kLeastUsableSize.width(), designed.width(), available.width()),
            bounded(stored.height(), Tqzr17::kLeastUsableSize.height(), designed.height(), available.height())};
}

void Tqzr17::paintSwatch()
{
    QPalette palette = m_penSwatch->palette();
    palette.setColor(QPalette::Window, pen_color);
    m_penSwatch->setPalette(palette);
}

void Tqzr17::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void Tqzr17::FormClose()
{
    if (!m_store)
        return;
    const QPoint place = pos() == m_shownPos ? m_storedPos : pos();
    m_store->WriteInteger(kDesktop, QStringLiteral("Top"), place.y());
    m_store->WriteInteger(kDesktop, QStringLiteral("Left"), place.x());
    m_store->WriteInteger(kDesktop, QStringLiteral("Height"), height());
    m_store->WriteInteger(kDesktop, QStringLiteral("Width"), width());
    m_store->WriteInteger(kGraf, QStringLiteral("POCET"), point_limit);
    m_store->WriteInteger(kGraf, QStringLiteral("PERO"), colorToStored(pen_color));
    m_store->WriteInteger(kGraf, QStringLiteral("DOGRAFU"), chart_interval);
    m_store->WriteInteger(kGraf, QStringLiteral("DOSOUBORU"), file_interval);
    writeTrafficGeometry();
    m_store->Sync();
}

void Tqzr17::mn_konecClick()
{
    if (m_linkWindow)
        m_linkWindow->ClosePort();
    close();
}

void Tqzr17::showModal(QDialog* window)
{
    if (window)
        window->exec();
}

// The link and settings windows talk to the regulator themselves: polling
// pauses while they are open and resumes as the check box says. They block
// this window only, so that the traffic monitor stays usable beside them.
void Tqzr17::showModalWithoutPolling(QDialog* window)
{
    Timer1->stop();
    if (window)
        window->setWindowModality(Qt::WindowModal);
    showModal(window);
    if (check_spust->isChecked())
        Timer1->start();
}

void Tqzr17::mn_portClick() { showModalWithoutPolling(m_linkWindow); }
void Tqzr17::mn_regulClick() { showModalWithoutPolling(m_settingsWindow); }
void Tqzr17::mn_aboutClick() { showModal(m_aboutWindow); }
void Tqzr17::mn_identClick() { showModal(m_identWindow); }

void Tqzr17::connectHandlers()
{
    connect(m_polling, &MeasurementPolling::readingDone, m_linkStatus, &LinkStatus::readingDone);
    connect(m_polling, &MeasurementPolling::measured, this, &Tqzr17::showMeasurement);
    connect(m_polling, &MeasurementPolling::receptionLamp, m_receptionLamp, &QWidget::setVisible);
    connect(m_polling, &MeasurementPolling::logLine, this, &Tqzr17::addLogLine);
    connect(m_penButton, &QPushButton::clicked, this, &Tqzr17::tl_barva_peraClick);
}

void Tqzr17::setClock(const Clock* clock) { m_polling->setClock(clock); }

// Polling follows the box even when saving the log failed.
void Tqzr17::check_spustClick()
{
    const auto followTheBox = qScopeGuard([this] {
        if (check_spust->isChecked())
            Timer1->start();
        else
            Timer1->stop();
    });
    if (check_spust->isChecked())
        saveOrStartLog();
}

void Tqzr17::Timer1Timer() { m_polling->Timer1Timer(); }
void Tqzr17::ReadMeasurements() { m_polling->ReadMeasurements(); }
void Tqzr17::Timer2Timer() { m_polling->Timer2Timer(); }
void Tqzr17::AppendLogLine() { m_polling->AppendLogLine(); }

void Tqzr17::showMeasurement(const Measurement& measurement)
{
    ValuePanel* const panels[] = {pa_voda, pa_venkovni, pa_sp, pa_utlum, pa_odchylka};
    for (qsizetype i = 0; i < measurement.texts.size(); ++i)
        panels[i]->showValue(measurement.texts[i]);
    // A value that is no number cannot be drawn.
    if (std::isfinite(measurement.deviation))
        AddChartPoint(measurement.deviation);
}

// The series keeps point_limit + 1 points: the test runs before the new point
// is added, and removes at most one point, so a lowered limit never shrinks
// the series at once. The legend lists the points before the newest one.
void Tqzr17::AddChartPoint(float deviation)
{
    if (Chart1->count() > point_limit)
        Chart1->deleteFirst();
    point_x += 1.0;
    const int count = Chart1->count();
    const int rows = Chart1->legendRowsShown();
    if (count > rows)
        Chart1->setLegendFirstIndex(count - rows);
    Chart1->addPoint(point_x, static_cast<double>(deviation), pen_color);
}

void Tqzr17::addLogLine(const QString& line, const QDateTime& at)
{
    m_log.addLine(line, at);
    if (log_named)
        m_log.update();
}

void Tqzr17::tl_barva_peraClick()
{
    const auto chosen = prompts().color(m_colorDialogColor, this);
    if (!chosen)
        return;
    m_colorDialogColor = *chosen;
    pen_color = *chosen;
    paintSwatch();
    Chart1->setPenColor(pen_color);
}

void Tqzr17::mn_printClick()
{
    if (prompts().printerSetup(*m_printer, this))
        Chart1->print(*m_printer);
}

std::optional<QString> Tqzr17::askLogFileName()
{
    const Prompts::SaveFileRequest request{QString(), m_log.fileName(), tr("Textový soubor [*.txt] (*.txt)"),
                                           QStringLiteral("TXT")};
    auto fileName = prompts().saveFileName(request, this);
    if (fileName)
        m_log.setFileName(*fileName);
    return fileName;
}

void Tqzr17::mn_novyClick()
{
    const auto fileName = askLogFileName();
    if (!fileName)
        return;
    m_log.clear();
    for (const QString& line : log_lines::header(*fileName, m_polling->clock().now().date()))
        m_log.addLine(line);
    m_log.save();
    log_named = true;
}

void Tqzr17::saveOrStartLog()
{
    if (log_named)
        m_log.save();
    else
        mn_novyClick();
}

void Tqzr17::mn_ulozClick() { saveOrStartLog(); }

// Line 1 keeps the name given at New...; a cancelled dialog starts a new log.
void Tqzr17::mn_uloz_jakoClick()
{
    if (!log_named)
        return;
    if (askLogFileName())
        m_log.save();
    else
        mn_novyClick();
}

// The texts are taken back however the dialog was closed; a text that is no
// count stops the taking back there.
void Tqzr17::mn_grafClick()
{
    if (!m_storageDialog)
        return;
    m_storageDialog->setValues({point_limit, chart_interval, file_interval / kSecondsPerMinute});
    m_storageDialog->exec();
    point_limit = m_storageDialog->pointLimit();
    chart_interval = m_storageDialog->chartInterval();
    file_interval = m_storageDialog->fileMinutes() * kSecondsPerMinute;
}

void Tqzr17::mn_otevriClick() { LogHistoryWindow::openFromDialog(this); }

void Tqzr17::mn_provozClick()
{
    if (!m_trafficWindow)
        createTrafficWindow();
    m_trafficWindow->show();
    m_trafficWindow->raise();
    m_trafficWindow->activateWindow();
}

// Opens beside the main window, leaving at least the values and the controls
// above the chart in view, unless a place on some screen was stored.
void Tqzr17::createTrafficWindow()
{
    m_trafficWindow = std::make_unique<Tprovoz>();
    if (m_linkWindow)
        m_trafficWindow->attach(m_linkWindow->line());
    const QRect frame = frameGeometry();
    const int controlsBottom = m_panel1->mapToGlobal(QPoint(0, m_panel1->height())).y();
    m_trafficWindow->placeBeside(*this, QRect(frame.topLeft(), QPoint(frame.right(), controlsBottom)));
    if (!m_store)
        return;
    const QRect beside = m_trafficWindow->geometry();
    const auto stored = [this](const char* key, int def) {
        return m_store->ReadInteger(kProvoz, QLatin1String(key), def);
    };
    QSize size = usableSize({stored("Width", beside.width()), stored("Height", beside.height())}, beside.size());
    QPoint place(stored("Left", beside.x()), stored("Top", beside.y()));
    QScreen* screen = screenOf(place, size);
    if (!screen) {
        size = beside.size();
        place = beside.topLeft();
        screen = this->screen();
    }
    // Its frame is not known before it is shown: it gets the main window's.
    const QRect fitted = withinScreen(*screen, place, size, frameGeometry().size() - geometry().size());
    m_trafficWindow->resize(fitted.size());
    m_trafficWindow->move(fitted.topLeft());
}

void Tqzr17::writeTrafficGeometry()
{
    if (!m_trafficWindow)
        return;
    m_store->WriteInteger(kProvoz, QStringLiteral("Left"), m_trafficWindow->x());
    m_store->WriteInteger(kProvoz, QStringLiteral("Top"), m_trafficWindow->y());
    m_store->WriteInteger(kProvoz, QStringLiteral("Height"), m_trafficWindow->height());
    m_store->WriteInteger(kProvoz, QStringLiteral("Width"), m_trafficWindow->width());
}
