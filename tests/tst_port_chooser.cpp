// "Porty v počítači" fed by a table of ports instead of the system's: the
// list, its refresh, the COM link it writes and the refusals; and, through the
// link window, a port of the computer given a COM number and used at once.
#include "UnitPort.h"
#include "app_test_main.h"
#include "bus_protocol.h"
#include "port_chooser.h"
#include "port_names.h"
#include "scripted_prompts.h"
#include "settings_store.h"
#include "sim_process.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kById = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K4XYZ-if00-port0");

class TablePortSource final : public PortSource {
public:
    QList<SerialPortEntry> list;
    QList<SerialPortEntry> ports() const override { return list; }
};

SerialPortEntry usbAdapter()
{
    return {"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K4XYZ", 0x0403, 0x6001, kById};
}

SerialPortEntry onBoardPort() { return {"ttyS0", "/dev/ttyS0", QString(), QString(), QString(), {}, {}, QString()}; }

} // namespace

class TestPortChooser : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    TablePortSource m_source;

    QTableWidget* table(PortChooser& chooser) const { return chooser.findChild<QTableWidget*>("str_porty"); }

    QStringList row(PortChooser& chooser, int r) const
    {
        QStringList cells;
        for (int c = 0; c < table(chooser)->columnCount(); ++c)
            cells.append(table(chooser)->item(r, c)->text());
        return cells;
    }

private slots:
    void init()
    {
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_source.list = {onBoardPort(), usbAdapter()};
    }

    void cleanup()
    {
        for (const QString& entry : QDir(m_portDir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            QFile::remove(m_portDir.filePath(entry));
    }

    void listFollowsThePortsAndKeepsTheChoice()
    {
        PortChooser chooser(m_source, 3);
        QCOMPARE(table(chooser)->rowCount(), 2);
        QCOMPARE(row(chooser, 1), (QStringList{"ttyUSB0", "FT232R USB UART", "FTDI", "A10K4XYZ", "0403:6001", kById}));
        QCOMPARE(row(chooser, 0), (QStringList{"ttyS0", "", "", "", "", ""}));
        QVERIFY(!chooser.findChild<QPushButton*>("tl_priradit")->isEnabled());

        table(chooser)->selectRow(1);
        m_source.list.prepend({"ttyACM0", "/dev/ttyACM0", "Modem", "", "", 0x2341, 0x0043, QString()});
        QTRY_COMPARE(table(chooser)->rowCount(), 3); // seen by the dialog's own refresh
        QCOMPARE(table(chooser)->selectedItems().first()->text(), QStringLiteral("ttyUSB0"));
        m_source.list.removeLast();
        chooser.refresh();
        QCOMPARE(table(chooser)->rowCount(), 2);
        QVERIFY(!chooser.findChild<QPushButton*>("tl_priradit")->isEnabled());
    }

    void assignment_data()
    {
        QTest::addColumn<int>("port");        // row of the fake table
        QTest::addColumn<QString>("existing"); // what COM4 leads to before
        QTest::addColumn<bool>("vanish");      // the port is gone by the click
        QTest::addColumn<bool>("brokenDir");   // the port directory cannot be made
        QTest::addColumn<QList<Prompts::Answer>>("answers");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("after");    // what COM4 leads to afterwards
        QTest::addColumn<int>("assigned");     // 0: nothing assigned

        const QString question = "COM4 už vede na /dev/ttyS3.\nOpravdu ho chcete přesměrovat na " + kById + "?";
        QTest::newRow("free number: the stable name") << 1 << "" << false << false << QList<Prompts::Answer>{}
                                                     << QStringList{} << kById << 4;
        QTest::newRow("no stable name: the node") << 0 << "" << false << false << QList<Prompts::Answer>{}
                                                  << QStringList{} << "/dev/ttyS0" << 4;
        QTest::newRow("already this device") << 1 << kById << false << false << QList<Prompts::Answer>{}
                                             << QStringList{} << kById << 4;
        QTest::newRow("another device, kept") << 1 << "/dev/ttyS3" << false << false
                                              << QList<Prompts::Answer>{Prompts::Answer::No} << QStringList{question}
                                              << "/dev/ttyS3" << 0;
        QTest::newRow("another device, replaced") << 1 << "/dev/ttyS3" << false << false
                                                  << QList<Prompts::Answer>{Prompts::Answer::Yes}
                                                  << QStringList{question} << kById << 4;
        QTest::newRow("device unplugged meanwhile") << 1 << "" << true << false << QList<Prompts::Answer>{}
                                                    << QStringList{"Zařízení ttyUSB0 už není připojeno."} << "" << 0;
        QTest::newRow("port directory cannot be written")
            << 1 << "" << false << true << QList<Prompts::Answer>{}
            << QStringList{"Odkaz COM4 nelze zapsat: složku portů " + m_portDir.filePath("soubor/ports") +
                           " nelze vytvořit."}
            << "" << 0;
    }

    void assignment()
    {
        QFETCH(int, port);
        QFETCH(QString, existing);
        QFETCH(bool, vanish);
        QFETCH(bool, brokenDir);
        QFETCH(QList<Prompts::Answer>, answers);
        QFETCH(QStringList, texts);
        QFETCH(QString, after);
        QFETCH(int, assigned);
        if (!existing.isEmpty())
            QVERIFY(QFile::link(existing, m_portDir.filePath("COM4")));
        if (brokenDir) {
            QFile file(m_portDir.filePath("soubor"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            qputenv("KV36_PORT_DIR", m_portDir.filePath("soubor/ports").toLocal8Bit());
        }
        ScriptedPrompts prompts;
        prompts.answers = answers;
        PortChooser chooser(m_source, 4);
        table(chooser)->selectRow(port);
        if (vanish)
            m_source.list.removeAt(port);

        chooser.findChild<QPushButton*>("tl_priradit")->click();

        QCOMPARE(prompts.texts(), texts);
        // Enter does not redirect a port.
        for (const ScriptedPrompts::Call& call : prompts.calls)
            QVERIFY(call.buttons != Prompts::Buttons::YesNo);
        QCOMPARE(portEntryTarget("COM4"), after);
        QCOMPARE(chooser.assignedNumber().value_or(0), assigned);
        QCOMPARE(chooser.result(), assigned ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }

    // A port of the computer (the simulator's) gets COM5 and is used at once;
    // the port list's tooltip tells where COM5 leads.
    void linkWindowUsesTheAssignedNumber()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        m_source.list = {{"pts", sim.portPath(), "Simulátor", "", "", {}, {}, QString()}};
        QVERIFY(QFile::link("/dev/serial/by-id/usb-unplugged", m_portDir.filePath("COM1")));
        SettingsStore store;
        Tport link(store);
        auto* source = new TablePortSource(m_source);
        link.setPortSource(std::unique_ptr<PortSource>(source));
        link.FormCreate();
        QVERIFY(link.line().deviceLost()); // COM1's adapter is out: the port waits for it
        QTimer::singleShot(0, [] {
            auto* chooser = qobject_cast<PortChooser*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            chooser->findChild<QTableWidget*>("str_porty")->selectRow(0);
            chooser->findChild<QSpinBox*>("ed_com")->setValue(5);
            chooser->findChild<QPushButton*>("tl_priradit")->click();
        });
        link.findChild<QToolButton*>("tl_porty")->click();

        QCOMPARE(link.portNumber(), 5);
        const auto* com = link.findChild<QComboBox*>("cb_com");
        QCOMPARE(com->currentIndex(), 5);
        QCOMPARE(com->itemData(5, Qt::ToolTipRole).toString(), "COM5 → " + sim.portPath());
        QCOMPARE(com->itemData(1, Qt::ToolTipRole).toString(),
                 QStringLiteral("COM1 → /dev/serial/by-id/usb-unplugged (zařízení není připojeno)"));
        bus_protocol::AttachPort(&link);
        bus_protocol::SetDestinationAddress(0);
        QVERIFY(bus_protocol::ProbeStation());
        bus_protocol::AttachPort(nullptr);
    }
};

int main(int argc, char** argv) { return runAppTest<TestPortChooser>(argc, argv); }

#include "tst_port_chooser.moc"
