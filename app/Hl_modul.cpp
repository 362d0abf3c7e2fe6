#include "Hl_modul.h"

#include "UnitPort.h"
#include "deviation_chart.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kPanelTop = 40;
constexpr int kPanelHeight = 65;
constexpr int kChartTop = 128;
// Controls kept at the right edge: their distance from it in the designed
// client width of 643 pixels.
constexpr int kDesignedClientWidth = 643;

const QString kDesktop = QStringLiteral("DESKTOP");
const QString kGraf = QStringLiteral("GRAF");

QLabel* makeLabel(const QString& text, QWidget* parent, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(text);
    label->adjustSize();
    label->move(left, top);
    return label;
}

bool onSomeScreen(const QRect& frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* s) { return s->availableGeometry().intersects(frame); });
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
    : QMainWindow(parent), Timer1(new QTimer(this)), Timer2(new QTimer(this))
{
    initMenuIcons();
    setObjectName(QStringLiteral("qzr17"));
    setWindowTitle(QStringLiteral("QZR 17"));
    setAccessibleName(windowTitle());
    setCentralWidget(new QWidget(this));
    buildPanel();
    buildMenus();
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(100);
    Timer2->setSingleShot(true);
    resize(kDesignedWidth, kDesignedHeight);
    move(kDesignedLeft, kDesignedTop);
}

Tqzr17::~Tqzr17() = default;

QLabel* Tqzr17::addValuePanel(const char* name, const QString& title, int left, int titleLeft, int width,
                              const QString& hint)
{
    makeLabel(title, m_panel1, titleLeft, 8);
    auto* panel = new QLabel(QStringLiteral("0"), m_panel1);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(left, 24, width, 33);
    panel->setToolTip(hint);
    panel->setAccessibleName(title);
    QFont big = panel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    panel->setFont(big);
    return panel;
}

void Tqzr17::buildPanel()
{
    QWidget* client = centralWidget();
    makeLabel(QStringLiteral("Aktuální naměřená teplota"), client, 8, 24)->setObjectName(QStringLiteral("Label49"));

    m_panel1 = new QFrame(client);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel1->setAccessibleName(QStringLiteral("Aktuální naměřená teplota"));

    addValuePanel("pa_voda", QStringLiteral("teplota vody"), 16, 16, 73, QStringLiteral("Ukazuje teplotu topné vody"));
    addValuePanel("pa_venkovni", QStringLiteral("venkovní teplota"), 104, 104, 81,
                  QStringLiteral("Ukazuje venkovní teplotu"));
    addValuePanel("pa_sp", QStringLiteral("žádaná"), 208, 224, 73, QString());
    addValuePanel("pa_utlum", QStringLiteral("útlum"), 304, 320, 73, QString());
    addValuePanel("pa_odchylka", QStringLiteral("odchylka"), 392, 408, 73, QString());

    m_penSwatch = new QFrame(m_panel1);
    m_penSwatch->setObjectName(QStringLiteral("pa_barva_pera"));
    m_penSwatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_penSwatch->setAutoFillBackground(true);
    m_penSwatch->setAccessibleName(QStringLiteral("Barva pera"));

    m_penButton = new QPushButton(QStringLiteral("Barva pera"), m_panel1);
    m_penButton->setObjectName(QStringLiteral("tl_barva_pera"));
    m_penButton->setAccessibleName(m_penButton->text());

    check_spust = new QCheckBox(QStringLiteral("aut. čtení"), m_panel1);
    check_spust->setObjectName(QStringLiteral("check_spust"));
    check_spust->setToolTip(QStringLiteral("Spustí automatické čtení naměřených hodnot regulátoru"));
    check_spust->setAccessibleName(check_spust->text());
    connect(check_spust, &QCheckBox::clicked, this, &Tqzr17::check_spustClick);

    m_receptionLamp = new QFrame(m_panel1);
    m_receptionLamp->setObjectName(QStringLiteral("pa_prijem"));
    m_receptionLamp->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_receptionLamp->setStyleSheet(QStringLiteral("background-color: lime;"));
    m_receptionLamp->setAccessibleName(QStringLiteral("příjem"));
    m_receptionLamp->hide();

    Chart1 = new DeviationChart(client);
    Chart1->setObjectName(QStringLiteral("Chart1"));

    m_logList = new QListWidget(client);
    m_logList->setObjectName(QStringLiteral("ListBox1"));
    m_logList->setAccessibleName(QStringLiteral("Záznam měření"));
    m_logList->setGeometry(280, 0, 153, 17);
    m_logList->hide();
}

QAction* Tqzr17::addMenuItem(QMenu* menu, const char* name, const QString& caption, const QString& icon)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!icon.isEmpty())
        action->setIcon(QIcon(QStringLiteral(":/menu/%1.svg").arg(icon)));
    return action;
}

void Tqzr17::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Soubor"));
    file->setObjectName(QStringLiteral("mn_sobor"));
    addMenuItem(file, "mn_novy", QStringLiteral("Nový..."), QStringLiteral("document-new"));
    file->addSeparator();
    addMenuItem(file, "mn_uloz", QStringLiteral("Uložit"), QStringLiteral("document-save"));
    addMenuItem(file, "mn_uloz_jako", QStringLiteral("Uložit jako..."), QString());
    file->addSeparator();
    addMenuItem(file, "mn_print", QStringLiteral("Tisk..."), QStringLiteral("document-print"));
    file->addSeparator();
    connect(addMenuItem(file, "mn_konec", QStringLiteral("&Konec"), QString()), &QAction::triggered, this,
            &Tqzr17::mn_konecClick);

    QMenu* config = menuBar()->addMenu(QStringLiteral("&Konfigurace"));
    config->setObjectName(QStringLiteral("mn_konfigurace"));
    connect(addMenuItem(config, "mn_port", QStringLiteral("Komunikační port"), QStringLiteral("network-wired")),
            &QAction::triggered, this, &Tqzr17::mn_portClick);
    connect(addMenuItem(config, "mn_regul", QStringLiteral("Nastavení regulátoru"),
                        QStringLiteral("preferences-system")),
            &QAction::triggered, this, &Tqzr17::mn_regulClick);
    addMenuItem(config, "mn_graf", QStringLiteral("Nastavení ukládání"), QStringLiteral("document-properties"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Nápověda"));
    help->setObjectName(QStringLiteral("mn_help"));
    connect(addMenuItem(help, "mn_about", QStringLiteral("O aplikaci"), QStringLiteral("help-about")),
            &QAction::triggered, this, &Tqzr17::mn_aboutClick);
    connect(addMenuItem(help, "mn_ident", QStringLiteral("Identifikace"), QStringLiteral("dialog-information")),
            &QAction::triggered, this, &Tqzr17::mn_identClick);
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
    point_limit = m_store->ReadInteger(kGraf, QStringLiteral("POCET"), 400);
    pen_color = colorFromStored(m_store->ReadInteger(kGraf, QStringLiteral("PERO"), 255));
    paintSwatch();
    Chart1->setPenColor(pen_color);
    chart_interval = m_store->ReadInteger(kGraf, QStringLiteral("DOGRAFU"), 1);
    file_interval = m_store->ReadInteger(kGraf, QStringLiteral("DOSOUBORU"), 1);
    point_x = 0.0;
    chart_tick = chart_interval;
    file_tick = file_interval;
    log_named = false;
}

void Tqzr17::restoreGeometry()
{
    move(m_store->ReadInteger(kDesktop, QStringLiteral("Left"), x()), y());
    move(x(), m_store->ReadInteger(kDesktop, QStringLiteral("Top"), y()));
    resize(width(), m_store->ReadInteger(kDesktop, QStringLiteral("Height"), height()));
    resize(m_store->ReadInteger(kDesktop, QStringLiteral("Width"), width()), height());
    m_storedPos = pos();
    // A window stored on a screen that is no longer there would open out of
    // reach: show it on the primary screen, but keep the stored place unless
    // the user moves the window.
    if (!onSomeScreen(QRect(pos(), size())))
        move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    m_shownPos = pos();
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
// pauses while they are open and resumes as the check box says.
void Tqzr17::showModalWithoutPolling(QDialog* window)
{
    Timer1->stop();
    showModal(window);
    if (check_spust->isChecked())
        Timer1->start();
}

void Tqzr17::mn_portClick() { showModalWithoutPolling(m_linkWindow); }
void Tqzr17::mn_regulClick() { showModalWithoutPolling(m_settingsWindow); }
void Tqzr17::mn_aboutClick() { showModal(m_aboutWindow); }
void Tqzr17::mn_identClick() { showModal(m_identWindow); }

void Tqzr17::check_spustClick()
{
    if (check_spust->isChecked())
        Timer1->start();
    else
        Timer1->stop();
}
