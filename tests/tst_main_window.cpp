// Start-up and the main window: the settings store, geometry, the error box
// for whatever escapes a handler, and polling paused around the link window.
#include "app_test_main.h"
#include "Hl_modul.h"
#include "UnitPort.h"
#include "UnitProvoz.h"
#include "app_error.h"
#include "bus_protocol.h"
#include "deviation_chart.h"
#include "error_box.h"
#include "language.h"
#include "qt_prompts.h"
#include "scripted_prompts.h"
#include "sim_process.h"
#include "startup.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QString iniPath() { return testConfigDir().filePath(QStringLiteral("Talvex_R16.ini")); }

QSettings stored() { return QSettings(iniPath(), QSettings::IniFormat); }

void writeIni(const QString& text)
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<SimProcess> m_sim;

    std::unique_ptr<Tqzr17> startMain()
    {
        auto window = std::make_unique<Tqzr17>();
        window->FormCreate();
        return window;
    }

private slots:
    void initTestCase()
    {
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
    }

    void init() { QFile::remove(iniPath()); }

    void firstStartUsesDefaultsAndWritesOnlyAtClose()
    {
        auto window = startMain();
        QCOMPARE(window->pos(), QPoint(188, 106));
        QCOMPARE(window->size(), QSize(651, 477));
        QCOMPARE(window->point_limit, 400);
        QCOMPARE(window->pen_color, QColor(255, 0, 0));
        QCOMPARE(window->chart_interval, 1);
        QCOMPARE(window->file_interval, 1);
        QCOMPARE(window->chart_tick, 1);
        QCOMPARE(window->file_tick, 1);
        QCOMPARE(window->Chart1->penColor(), QColor(255, 0, 0));
        QVERIFY(!window->Timer1->isActive());
        QVERIFY(!window->check_spust->isChecked());
        QVERIFY(stored().childGroups().isEmpty());
        window->close();
        QSettings s = stored();
        QCOMPARE(s.value("DESKTOP/Left").toString(), QStringLiteral("188"));
        QCOMPARE(s.value("DESKTOP/Top").toString(), QStringLiteral("106"));
        QCOMPARE(s.value("DESKTOP/Width").toString(), QStringLiteral("651"));
        QCOMPARE(s.value("DESKTOP/Height").toString(), QStringLiteral("477"));
        QCOMPARE(s.value("GRAF/POCET").toString(), QStringLiteral("400"));
        QCOMPARE(s.value("GRAF/PERO").toString(), QStringLiteral("255"));
        QCOMPARE(s.value("GRAF/DOGRAFU").toString(), QStringLiteral("1"));
        QCOMPARE(s.value("GRAF/DOSOUBORU").toString(), QStringLiteral("1"));
    }

    void unreadableValuesTakeTheirDefault_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("letters") << "abc";
        QTest::newRow("decimal") << "12.5";
        QTest::newRow("empty") << "";
        QTest::newRow("hex") << "0x10";
    }

    void unreadableValuesTakeTheirDefault()
    {
        QFETCH(QString, value);
        writeIni(QStringLiteral("[GRAF]\nPOCET=%1\nDOGRAFU=%1\n").arg(value));
        auto window = startMain();
        QCOMPARE(window->point_limit, 400);
        QCOMPARE(window->chart_interval, 1);
        window->close();
        QCOMPARE(stored().value("GRAF/POCET").toString(), QStringLiteral("400"));
    }

    // A damaged or hand-edited store: every window that reads it comes up
    // whole on the screen, its title bar in reach, and the values go back sane.
    void absurdStoredValuesAreBounded_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("written"); // "SECTION/key=value ..."
        QTest::addColumn<QString>("error");
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const QString h = QString::number(screen.height());
        const QString everyKey =
            "[DESKTOP]\nLeft=%1\nTop=%1\nWidth=%1\nHeight=%1\n[GRAF]\nPOCET=%1\nPERO=%1\n"
            "DOGRAFU=%1\nDOSOUBORU=%1\n[PORT]\nCOM=%1\nBAUDRATE=%1\n[ADRESA]\nDA=%1\nSA=%1\n"
            "[PROVOZ]\nLeft=%1\nTop=%1\nWidth=%1\nHeight=%1\n[JAZYK]\nVOLBA=%1\n";
        const QString link = "PORT/COM=1 PORT/BAUDRATE=9600 ADRESA/DA=0 ADRESA/SA=0 GRAF/PERO=255 ";
        const QString designed = "DESKTOP/Width=651 DESKTOP/Height=477 ";
        QTest::newRow("every key at the largest integer")
            << everyKey.arg("2147483647")
            << link + "DESKTOP/Left=188 DESKTOP/Top=106 GRAF/POCET=2147483647 GRAF/DOGRAFU=2147483647 "
                      "GRAF/DOSOUBORU=2147483640"
            << "";
        QTest::newRow("every key at the smallest integer")
            << everyKey.arg("-2147483648")
            << link + designed +
                   "DESKTOP/Left=188 DESKTOP/Top=106 GRAF/POCET=0 GRAF/DOGRAFU=1 GRAF/DOSOUBORU=1"
            << "";
        QTest::newRow("a mix of extremes")
            << "[PORT]\nCOM=99\n[DESKTOP]\nLeft=-30000\nTop=30000\nWidth=1\nHeight=100000\n[PROVOZ]\n"
               "Left=2147483647\nTop=-2147483648\n[JAZYK]\nVOLBA=2\n"
            << "PORT/COM=1 DESKTOP/Left=-30000 DESKTOP/Top=30000 DESKTOP/Width=651"
            << "Sériový port COM99 nelze otevřít.";
        QTest::newRow("just outside what each key holds")
            << "[PORT]\nCOM=257\nBAUDRATE=14400\n[ADRESA]\nDA=127\nSA=-1\n[GRAF]\nPERO=16777216\n[JAZYK]\n"
               "VOLBA=-1\n"
            << link.trimmed() << "";
        QTest::newRow("larger than the screen")
            << "[DESKTOP]\nWidth=2147483647\nHeight=2147483647\n"
            << "GRAF/DOSOUBORU=1" << "";
        QTest::newRow("negative height") << "[DESKTOP]\nHeight=-50\n"
                                         << designed + "GRAF/DOSOUBORU=1"
                                         << "";
        QTest::newRow("too narrow to use") << "[DESKTOP]\nWidth=12\nHeight=500\n"
                                           << "DESKTOP/Width=651 DESKTOP/Height=500 GRAF/DOSOUBORU=1"
                                           << "";
        QTest::newRow("traffic monitor larger than the screen")
            << "[PROVOZ]\nLeft=100\nTop=0\nWidth=2147483647\nHeight=2147483647\n"
            << designed + "GRAF/DOSOUBORU=1" << "";
        const int right = screen.width() - 1, bottom = screen.height() - 1;
        QTest::newRow("main window's corner on the screen's last pixel")
            << QString("[DESKTOP]\nLeft=%1\nTop=%2\n").arg(right).arg(bottom)
            << designed + QString("DESKTOP/Left=%1 DESKTOP/Top=%2").arg(right).arg(bottom) << "";
        QTest::newRow("traffic monitor's last pixel on the screen's first")
            << "[PROVOZ]\nLeft=-500\nTop=-300\nWidth=501\nHeight=301\n"
            << "GRAF/DOSOUBORU=1" << "";
        QTest::newRow("traffic monitor below the screen, main window above it")
            << "[DESKTOP]\nTop=-400\n[PROVOZ]\nLeft=0\nTop=" + h + "\nWidth=600\nHeight=300\n"
            << "DESKTOP/Top=-400" << "";
        QTest::newRow("log interval beyond whole minutes") << "[GRAF]\nDOSOUBORU=2147483647\n"
                                                           << designed + "GRAF/DOSOUBORU=2147483640"
                                                           << "";
    }

    void absurdStoredValuesAreBounded()
    {
        QFETCH(QString, ini);
        QFETCH(QString, written);
        QFETCH(QString, error);
        writeIni(ini);
        ScriptedPrompts prompts;
        const Windows windows = createWindows();
        std::unique_ptr<Tqzr17> window(windows.main);
        QCOMPARE(prompts.texts().join('\n'), error);
        QCOMPARE(storedLanguage(window->store()), Language::Czech);
        window->show();
        window->mn_provozClick();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(window->frameGeometry()), "main window out of reach");
        QVERIFY2(screen.contains(window->trafficWindow()->frameGeometry()), "traffic monitor out of reach");
        windows.port->reject();
        window->close();
        bus_protocol::AttachPort(nullptr);
        for (const QString& value : written.split(' ')) {
            const QString key = value.section('=', 0, 0);
            QCOMPARE(key + '=' + stored().value(key).toString(), value);
        }
    }

    void geometryAndPenColourSurviveARestart()
    {
        {
            auto window = startMain();
            window->move(220, 140);
            window->resize(700, 520);
            window->pen_color = QColor(0x12, 0x34, 0x56);
            window->close();
        }
        QCOMPARE(stored().value("GRAF/PERO").toString(), QString::number(0x563412));
        auto window = startMain();
        QCOMPARE(window->pos(), QPoint(220, 140));
        QCOMPARE(window->size(), QSize(700, 520));
        QCOMPARE(window->pen_color, QColor(0x12, 0x34, 0x56));
        QCOMPARE(window->Chart1->penColor(), QColor(0x12, 0x34, 0x56));
        const QFrame* swatch = window->findChild<QFrame*>("pa_barva_pera");
        QCOMPARE(swatch->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
    }

    void windowOffEveryScreenIsBroughtBackButKeepsItsPlace()
    {
        writeIni(QStringLiteral("[DESKTOP]\nLeft=5000\nTop=4000\n"));
        auto window = startMain();
        QVERIFY(window->screen()->availableGeometry().intersects(QRect(window->pos(), window->size())));
        window->close();
        QCOMPARE(stored().value("DESKTOP/Left").toString(), QStringLiteral("5000"));
        QCOMPARE(stored().value("DESKTOP/Top").toString(), QStringLiteral("4000"));
    }

    void konecClosesThePortThenTheWindow()
    {
        auto window = startMain();
        Tport link(window->store(), window.get());
        link.FormCreate();
        bus_protocol::AttachPort(&link);
        window->setLinkWindow(&link);
        window->show();
        QVERIFY(bus_protocol::ProbeStation());
        window->findChild<QAction*>("mn_konec")->trigger();
        QVERIFY(!window->isVisible());
        QCOMPARE(bus_protocol::ProbeStation(), 0);
        QCOMPARE(stored().value("GRAF/POCET").toString(), QStringLiteral("400"));
        bus_protocol::AttachPort(nullptr);
    }

    void pollingPausesAroundTheLinkWindow_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::newRow("unchecked") << false;
        QTest::newRow("checked") << true;
    }

    void pollingPausesAroundTheLinkWindow()
    {
        QFETCH(bool, checked);
        auto window = startMain();
        Tport link(window->store(), window.get());
        window->setLinkWindow(&link);
        window->check_spust->setChecked(checked);
        bool activeWhileOpen = true;
        QTimer::singleShot(0, &link, [&] {
            activeWhileOpen = window->Timer1->isActive();
            link.close();
        });
        window->mn_portClick();
        QCOMPARE(activeWhileOpen, false);
        QCOMPARE(window->Timer1->isActive(), checked);
    }

    void everyMenuItemIsThere()
    {
        auto window = startMain();
        const QStringList expected = {"Nový...", "", "Uložit", "Uložit jako...", "Otevřít záznam...", "",
                                      "Tisk...", "", "&Konec",
                                      "Komunikační port", "Nastavení regulátoru", "Nastavení ukládání",
                                      "Provoz na sběrnici", "O aplikaci", "Identifikace", "", "Jazyk / Language"};
        QStringList captions;
        for (QAction* menu : window->menuBar()->actions()) {
            menu->menu()->popup(window->pos()); // icons are read as a menu first opens
            menu->menu()->hide();
            for (QAction* item : menu->menu()->actions()) {
                captions.append(item->text());
                const bool plain = item->isSeparator() || item->menu() ||
                                   item->objectName() == "mn_uloz_jako" || item->objectName() == "mn_konec";
                QCOMPARE(item->icon().isNull(), plain);
            }
        }
        QCOMPARE(captions, expected);
    }

    void errorBoxTextEndsWithAFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Sériový port COM3 nelze otevřít" << "Sériový port COM3 nelze otevřít.";
        QTest::newRow("digit") << "Chyba 42" << "Chyba 42.";
        QTest::newRow("full stop") << "Hotovo." << "Hotovo.";
        QTest::newRow("exclamation") << "Pozor!" << "Pozor!";
        QTest::newRow("quote") << "'ab' is not a valid integer value'" << "'ab' is not a valid integer value'";
        QTest::newRow("empty") << "" << "";
    }

    void errorBoxTextEndsWithAFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
    }

    void errorEscapingAHandlerIsShownAndTheProgramGoesOn()
    {
        ScriptedPrompts prompts;
        bool later = false;
        QTimer::singleShot(0, [] { throw AppError(QStringLiteral("Na COM2 nelze nastavit Timeout")); });
        QTimer::singleShot(20, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(prompts.calls.size(), 1);
        QCOMPARE(prompts.calls[0].text, QStringLiteral("Na COM2 nelze nastavit Timeout."));
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("KV-36"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
        QCOMPARE(prompts.calls[0].buttons, Prompts::Buttons::Ok);
    }

    // Qt's message box buttons speak Czech like the rest of the program.
    void messageBoxButtonsAreCzech_data()
    {
        QTest::addColumn<Prompts::Buttons>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("question") << Prompts::Buttons::YesNo << QStringList{"&Ano", "&Ne"};
        QTest::newRow("message") << Prompts::Buttons::Ok << QStringList{"OK"};
    }

    void messageBoxButtonsAreCzech()
    {
        QFETCH(Prompts::Buttons, buttons);
        QFETCH(QStringList, captions);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* button : box->buttons())
                shown << button->text();
            box->buttons().constFirst()->click();
        });
        QtPrompts().message(QStringLiteral("Zpráva"), QStringLiteral("KV-36"), Prompts::Icon::Question, buttons, nullptr);
        shown.sort();
        QCOMPARE(shown, captions);
    }

    void failedPortOpenAtStartUpIsShownAndStartUpGoesOn()
    {
        writeIni(QStringLiteral("[PORT]\nCOM=0\n"));
        ScriptedPrompts prompts;
        const Windows windows = createWindows();
        std::unique_ptr<Tqzr17> owner(windows.main);
        QVERIFY(windows.port);
        QCOMPARE(prompts.texts(), QStringList{"Sériový port COM0 nelze otevřít."});
        bus_protocol::AttachPort(nullptr);
    }
};

int main(int argc, char** argv) { return runAppTest<TestMainWindow>(argc, argv); }

#include "tst_main_window.moc"
