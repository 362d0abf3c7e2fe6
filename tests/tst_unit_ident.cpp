// The identification window end to end: the real simulator on a real
// pseudo-terminal as COM1, the window shown as the main window shows it.
#include "UnitIdent.h"
#include "bus_protocol.h"
#include "scripted_prompts.h"
#include "serial_line.h"
#include "sim_process.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kInitialType = QStringLiteral("Typ zařízení - neidentifikováno");
const QString kInitialVersion = QStringLiteral("Verze zařízení - neidentifikováno");
const QString kSimulatorVersion = QStringLiteral("QZR17-5 FW 15.03.2012"); // its default firmware date

QLabel* label(const QWidget& window, const char* name) { return window.findChild<QLabel*>(QLatin1String(name)); }
QString typeShown(const QWidget& window) { return label(window, "lb_zarizeni")->text(); }
QString versionShown(const QWidget& window) { return label(window, "lb_verze")->text(); }

// Shows the window modally, as the menu command does, and closes it with OK
// once it is up; the reads have run by then.
int showAndConfirm(Tabout_ident& window)
{
    QTimer::singleShot(0, &window, [&window] {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    return window.exec();
}

} // namespace

class TestUnitIdent : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    ScriptedPrompts m_prompts;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<SerialLine> m_line;

    void startSim(const QStringList& args)
    {
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1", "--address", "0"} + args);
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath(QStringLiteral("COM1"))));
        m_line = std::make_unique<SerialLine>();
        m_line->setPortNumber(1);
        m_line->setBaudRate(9600);
        m_line->OpenPort(1);
        bus_protocol::AttachPort(m_line.get());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_portDir.isValid());
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
    }

    void init()
    {
        bus_protocol::SetDestinationAddress(0);
        bus_protocol::SetSourceAddress(0);
        m_prompts.calls.clear();
    }

    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_line.reset();
        m_sim.reset();
    }

    void labelsShowTheTextsAsSent_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("version");
        const QString forty = QStringLiteral("Regulátor QZR 17-5, ekvitermní, 4 okruhy");
        QCOMPARE(forty.size(), 40); // one byte each in Windows-1250
        QTest::newRow("Czech letters in Windows-1250")
            << QStringList{"--type", "Regulátor ČŘ", "--version", "Verze ěščřžýáíéůú"}
            << QStringLiteral("Regulátor ČŘ") << QStringLiteral("Verze ěščřžýáíéůú");
        // Š Ť Ž š ť ž Ľ ľ ů ň: the letters where Windows-1250 differs from Latin-1.
        QTest::newRow("letters only Windows-1250 has")
            << QStringList{"--type-hex", "8a8d8e9a9d9ebcbef9f2"} << QStringLiteral("ŠŤŽšťžĽľůň") << kSimulatorVersion;
        QTest::newRow("zero byte inside the text")
            << QStringList{"--type-hex", "515a52003137", "--version-hex", "56310056320056"}
            << QStringLiteral("QZR") << QStringLiteral("V1");
        QTest::newRow("40-byte text") << QStringList{"--type", forty} << forty << kSimulatorVersion;
        QTest::newRow("markup shown as text")
            << QStringList{"--type", "<b>QZR</b> &amp;"} << QStringLiteral("<b>QZR</b> &amp;") << kSimulatorVersion;
    }

    void labelsShowTheTextsAsSent()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, type);
        QFETCH(QString, version);
        startSim(args);
        Tabout_ident window;
        window.FormCreate();

        QCOMPARE(showAndConfirm(window), int(QDialog::Accepted));
        QCOMPARE(typeShown(window), type);
        QCOMPARE(versionShown(window), version);
        QCOMPARE(label(window, "lb_zarizeni")->accessibleName(), type);
        // Shown as plain text: the label needs room for every character sent.
        const QLabel* typeLabel = label(window, "lb_zarizeni");
        QVERIFY(typeLabel->sizeHint().width() >= typeLabel->fontMetrics().horizontalAdvance(type));
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void failedReadsKeepTheInitialTexts_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("regulator silent") << QStringList{"--silent"};
        QTest::newRow("replies with a bad checksum") << QStringList{"--corrupt-checksum", "1"};
        QTest::newRow("replies cut short") << QStringList{"--short-reply", "1"};
        QTest::newRow("regulator at another address") << QStringList{"--address", "5"};
        QTest::newRow("no port") << QStringList();
    }

    void failedReadsKeepTheInitialTexts()
    {
        QFETCH(QStringList, args);
        if (!args.isEmpty())
            startSim(args);
        Tabout_ident window;
        window.FormCreate();

        QCOMPARE(showAndConfirm(window), int(QDialog::Accepted));
        QCOMPARE(typeShown(window), kInitialType);
        QCOMPARE(versionShown(window), kInitialVersion);
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void regulatorAnsweringOnlyTheVersion()
    {
        startSim({"--no-type", "--version", "QZR17-5 FW 01.02.2019"});
        Tabout_ident window;
        window.show();
        QCOMPARE(typeShown(window), kInitialType);
        QCOMPARE(versionShown(window), QStringLiteral("QZR17-5 FW 01.02.2019"));
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void everyShowReadsAgain()
    {
        startSim({"--type", "První"});
        Tabout_ident window;
        window.show();
        window.hide();
        QCOMPARE(m_sim->command(QStringLiteral("type-hex 44727568fd")), QStringLiteral("OK"));
        window.show();
        QCOMPARE(typeShown(window), QStringLiteral("Druhý"));
    }

    void unpluggedRegulatorKeepsTheLastTexts_data()
    {
        QTest::addColumn<bool>("processEnds");
        QTest::newRow("simulator stopped") << true;
        QTest::newRow("simulator falls silent") << false;
    }

    void unpluggedRegulatorKeepsTheLastTexts()
    {
        QFETCH(bool, processEnds);
        startSim({"--type", "Regulátor ČŘ"});
        Tabout_ident window;
        window.FormCreate();
        QCOMPARE(showAndConfirm(window), int(QDialog::Accepted));
        QCOMPARE(typeShown(window), QStringLiteral("Regulátor ČŘ"));

        if (processEnds)
            m_sim->kill();
        else
            QCOMPARE(m_sim->command(QStringLiteral("silent on")), QStringLiteral("OK"));
        QCOMPARE(showAndConfirm(window), int(QDialog::Accepted));
        QCOMPARE(typeShown(window), QStringLiteral("Regulátor ČŘ"));
        QCOMPARE(versionShown(window), kSimulatorVersion);
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void everyControlHasAnAccessibleName()
    {
        Tabout_ident window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Identifikace"));
        for (const char* name : {"Panel1", "ProgramIcon", "Label1a", "Label2a", "lb_internet", "Label4",
                                 "Label1", "lb_zarizeni", "lb_verze", "OKButton"}) {
            const auto* control = window.findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control && !control->accessibleName().isEmpty(), name);
        }
        QVERIFY(!label(window, "ProgramIcon")->pixmap().isNull());
    }

    // Created once and reused, the window is centred again on every show.
    void shownInTheCentreOfTheScreen()
    {
        Tabout_ident window;
        window.show();
        window.hide();
        window.move(3, 4);
        window.show();
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((window.frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(TestUnitIdent)
#include "tst_unit_ident.moc"
