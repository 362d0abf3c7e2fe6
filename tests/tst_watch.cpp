// qzr17ctl watch against the simulator on a real pseudo-terminal and a real
// mosquitto broker on a free loopback port, checked with mosquitto_sub; its
// log against the main window's, byte for byte, in the same process.
#include "Hl_modul.h"
#include "UnitPort.h"
#include "app_test_main.h"
#include "bus_protocol.h"
#include "mqtt_broker.h"
#include "scripted_prompts.h"
#include "serial_server.h"
#include "sim_process.h"
#include "watch.h"
#include "stepped_clock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString kState = QStringLiteral("kv36/kotelna_dvur/state");
const QString kAvailability = QStringLiteral("kv36/kotelna_dvur/availability");


QString lastOf(const QStringList& messages) { return messages.isEmpty() ? QString() : messages.last(); }

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWatch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SimProcess> m_sim;
    QProcess m_watch;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void startWatch(const QStringList& arguments)
    {
        m_watch.start(QStringLiteral(QZR17CTL_PATH), QStringList{"--port", "COM1", "watch", "--interval", "1",
                                                                 "--name", "Kotelna Dvůr"} + arguments);
        QVERIFY(m_watch.waitForStarted());
    }

    static QJsonObject json(const QString& message) { return QJsonDocument::fromJson(message.toUtf8()).object(); }

private slots:
    void initTestCase() { qputenv("KV36_PORT_DIR", m_dir.path().toLocal8Bit()); }

    // A simulator of its own for each test: a watch killed leaves its line settings behind.
    void init()
    {
        QFile::remove(path("COM1"));
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(path("COM1")));
        // 45.26, -2.04, 40.04 and 0.0 °C, as the regulator sends them.
        QVERIFY(m_sim->setTable(16, QByteArray::fromHex("42350a3dc0028f5c00422028f50000000000")));
    }

    void cleanup()
    {
        m_watch.terminate();
        if (!m_watch.waitForFinished(3000))
            m_watch.kill();
        m_watch.waitForFinished();
    }

    // Both poll the same regulator with the same clock, across midnight.
    void theLogIsTheWindowsByteForByte_data()
    {
        QTest::addColumn<QString>("answers"); // a second each: + answered, - silent
        QTest::newRow("every reading answered") << "++++++";
        QTest::newRow("an outage between readings") << "+--+-+";
        QTest::newRow("silent from the first reading") << "--++";
    }

    void theLogIsTheWindowsByteForByte()
    {
        QFETCH(QString, answers);
        SteppedClock clock{QDateTime(QDate(2026, 3, 15), QTime(23, 59, 56))};
        Tqzr17 window;
        window.FormCreate();
        window.setClock(&clock);
        Tport link(window.store(), &window);
        link.FormCreate();
        bus_protocol::AttachPort(&link);
        ScriptedPrompts prompts;
        prompts.fileNames = {path("okno.txt")};
        window.mn_novyClick();
        QFile::remove(path("watch.txt"));
        Watch watch(WatchOptions{1, path("watch.txt"), false, std::nullopt, QString()});
        watch.polling().setClock(&clock);
        for (const QChar answer : answers) {
            QCOMPARE(m_sim->command(answer == u'+' ? "silent off" : "silent on"), QStringLiteral("OK"));
            clock.step();
            window.Timer1Timer();
            watch.polling().Timer1Timer();
        }
        bus_protocol::AttachPort(nullptr);
        const QByteArray windowLog = readAll(path("okno.txt"));
        const QByteArray watchLog = readAll(path("watch.txt"));
        QVERIFY(watchLog.startsWith(QDir::toNativeSeparators(path("watch.txt")).toLocal8Bit() + "\r\n"));
        QCOMPARE(watchLog.mid(watchLog.indexOf('\n')), windowLog.mid(windowLog.indexOf('\n')));
    }

    void logFilesAreContinuedOrStarted_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<int>>("lines");
        // Each run's first line, and each file's, follows a date mark.
        QTest::newRow("watch restarted") << "restart" << QStringList{"kotelna.txt"} << QList<int>{9};
        QTest::newRow("file deleted meanwhile") << "delete" << QStringList{"kotelna.txt"} << QList<int>{7};
        QTest::newRow("daily, across midnight") << "midnight"
            << QStringList{"kotelna-2026-03-15.txt", "kotelna-2026-03-16.txt"} << QList<int>{7, 7};
    }

    void logFilesAreContinuedOrStarted()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, files);
        QFETCH(QList<int>, lines);
        QTemporaryDir dir;
        const QDate day(2026, 3, 15);
        const QTime noon(12, 0);
        auto log = std::make_unique<AppendedLog>(dir.filePath("kotelna.txt"), change == "midnight");
        QVERIFY(log->append("první", QDateTime(day, noon)));
        if (change == "restart")
            log = std::make_unique<AppendedLog>(dir.filePath("kotelna.txt"), false);
        QVERIFY(change != "delete" || QFile::remove(dir.filePath("kotelna.txt")));
        QVERIFY(log->append("druhý", QDateTime(change == "midnight" ? day.addDays(1) : day, noon)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), files);
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QByteArray bytes = readAll(dir.filePath(files[i]));
            QCOMPARE(bytes.count("\r\n"), lines[i]);
            QVERIFY(bytes.contains("Datum: " + QLocale().toString(day.addDays(i), QLocale::ShortFormat).toLatin1()));
        }
    }

    void refusesBeforeStarting_data()
    {
        QTest::addColumn<QStringList>("link");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("exitCode"); // 78: a configuration the service must not retry
        QTest::newRow("credentials the group can read")
            << QStringList() << QStringList{"--mqtt", "127.0.0.1", "--mqtt-credentials", path("otevrene")}
            << "jiný uživatel než vlastník" << 78;
        QTest::newRow("no interval") << QStringList()
                                     << QStringList{"--log", path("x.txt"), "--interval", "0"} << "--interval"
                                     << 78;
        QTest::newRow("nothing to do") << QStringList() << QStringList() << "--log nebo --mqtt" << 78;
        QTest::newRow("bad link option")
            << QStringList{"--baud", "pomalu"} << QStringList{"--log", path("x.txt")} << "pomalu" << 78;
        QTest::newRow("log in a missing folder")
            << QStringList() << QStringList{"--log", path("neni/x.txt")} << "nelze zapsat" << 2;
        QTest::newRow("broadcast address")
            << QStringList{"--da", "127"} << QStringList{"--log", path("x.txt")} << "127" << 78;
    }

    void refusesBeforeStarting()
    {
        QFETCH(QStringList, link);
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(int, exitCode);
        QFile open(path("otevrene"));
        QVERIFY(
            open.open(QIODevice::WriteOnly) && open.write("kv36\nheslo\n") &&
            open.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        m_watch.start(QStringLiteral(QZR17CTL_PATH), link + QStringList{"--port", "COM1", "watch"} + arguments);
        QVERIFY(m_watch.waitForFinished(10000));
        QCOMPARE(m_watch.exitCode(), exitCode);
        QVERIFY2(QString::fromUtf8(m_watch.readAllStandardError()).contains(message), qPrintable(message));
    }

    void publishesForHomeAssistant_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id"); // a pattern
        QTest::newRow("accents") << "Kotelna Dvůr" << "^kotelna_dvur$";
        QTest::newRow("cyrillic") << "Котельня" << "^[0-9a-f]{8}$";
        QTest::newRow("latin and cyrillic") << "Kotelna Котельня" << "^kotelna_[0-9a-f]{8}$";
    }

    void publishesForHomeAssistant()
    {
        QFETCH(QString, name);
        QFETCH(QString, id);
        MqttBroker broker;
        QVERIFY(broker.start());
        m_watch.start(QStringLiteral(QZR17CTL_PATH), {"--port", "COM1", "watch", "--interval", "1", "--name",
                                                      name, "--mqtt", broker.address()});
        const QStringList configs = broker.waitFor("homeassistant/sensor/+/+/config", "", 10, 5);
        QCOMPARE(configs.size(), 5);
        const QString deviceId = json(configs[0])["unique_id"].toString().section(u'_', 0, -2);
        QVERIFY2(QRegularExpression(id).match(deviceId).hasMatch(), qPrintable(deviceId));
        const QString state = "kv36/" + deviceId + "/state";
        for (const QString& message : configs) {
            const QJsonObject config = json(message);
            QCOMPARE(config["device_class"].toString() + config["unit_of_measurement"].toString(),
                     "temperature°C");
            QCOMPARE(config["default_entity_id"].toString(), "sensor.kv36_" + config["unique_id"].toString());
            QVERIFY(!config.contains("object_id") && config["state_topic"] == state);
            const QJsonObject device = config["device"].toObject();
            QCOMPARE(device["name"].toString() + u'|' + device["manufacturer"].toString(), name + "|KORAVEL");
            QVERIFY(device["model"].toString().startsWith("QZR 17") &&
                    device["sw_version"].toString().startsWith("QZR17-5 FW "));
        }
        QVariantMap reading = json(broker.waitFor(state, "").value(0)).toVariantMap();
        QVERIFY(reading.take("time").toDateTime().isValid());
        QCOMPARE(reading, (QVariantMap{{"water", 45.3},
                                       {"outdoor", -2.0},
                                       {"demanded", 40.0},
                                       {"setback", 0.0},
                                       {"deviation", 5.3}}));
        const QString availability = "kv36/" + deviceId + "/availability";
        QCOMPARE(broker.waitFor(availability, "online").value(0), "online");
        QCOMPARE(m_sim->command("silent on"), QStringLiteral("OK"));
        QCOMPARE(lastOf(broker.waitFor(availability, "offline")), "offline");
        QCOMPARE(m_sim->command("silent off"), QStringLiteral("OK"));
        QCOMPARE(lastOf(broker.waitFor(availability, "online")), "online");
        QVERIFY(m_sim->events().filter(QRegularExpression("^(WROTE|EEPROM)")).isEmpty());
    }

    // Stopped, killed, or the broker restarted without what it kept: the log
    // keeps whole lines, the broker gets the last word.
    void endings_data()
    {
        QTest::addColumn<int>("signal"); // 0: the broker restarts
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("payload");
        QTest::newRow("SIGTERM") << SIGTERM << kAvailability << "offline";
        QTest::newRow("SIGINT") << SIGINT << kAvailability << "offline";
        QTest::newRow("SIGHUP") << SIGHUP << kAvailability << "offline";
        QTest::newRow("kill -9: last will") << SIGKILL << kAvailability << "offline";
        QTest::newRow("broker restarted") << 0 << kState << "{";
    }

    void endings()
    {
        QFETCH(int, signal);
        QFETCH(QString, topic);
        QFETCH(QString, payload);
        MqttBroker broker;
        QVERIFY(broker.start());
        startWatch({"--mqtt", broker.address(), "--log", path("konec.txt")});
        QCOMPARE(lastOf(broker.waitFor(kAvailability, "online")), "online");
        if (signal)
            ::kill(pid_t(m_watch.processId()), signal);
        else
            broker.stop();
        QVERIFY(m_watch.waitForFinished(5000) == bool(signal));
        QVERIFY(signal || broker.start());
        QVERIFY(lastOf(broker.waitFor(topic, payload, 25)).startsWith(payload));
        QCOMPARE(m_watch.exitCode(), signal == SIGKILL ? 9 : 0);
        static const QRegularExpression lastLine(
            "\n45.3;  -2.0;  40.0;  0.0;  5.3;  \\d\\d:\\d\\d:\\d\\d\r\n$");
        QVERIFY(lastLine.match(QString::fromLatin1(readAll(path("konec.txt")))).hasMatch());
    }

    void securedBroker_data()
    {
        QTest::addColumn<QString>("secret"); // empty: TLS
        QTest::addColumn<int>(
            "transport"); // TLS: 1 as the broker, 0 without --mqtt-cafile, 2 CA at a plain listener
        QTest::addColumn<QString>("said");
        QTest::newRow("password") << "heslo" << 1 << "MQTT: připojeno";
        QTest::newRow("wrong password") << "spatne" << 1 << "(broker nepovolil přístup)";
        QTest::newRow("TLS with its CA") << "" << 1 << "MQTT: připojeno";
        QTest::newRow("TLS without a CA")
            << "" << 0 << "; šifruje-li broker na portu %1 spojení (TLS), chybí --mqtt-cafile)";
        QTest::newRow("CA at a plain listener")
            << "" << 2 << "(TLS) se nenavázalo: šifruje broker na portu %1";
    }

    void securedBroker()
    {
        QFETCH(QString, secret);
        QFETCH(int, transport);
        QFETCH(QString, said);
        QStringList config{"allow_anonymous " + QString(secret.isEmpty() ? "true" : "false")}, client, watch;
        if (secret.isEmpty()) {
            QCOMPARE(QProcess::execute("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                                                   "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                                                   "subjectAltName=IP:127.0.0.1", "-keyout", path("key.pem"), "-out",
                                                   path("cert.pem")}), 0);
            if (transport != 2)
                config << "certfile " + path("cert.pem") << "keyfile " + path("key.pem");
            if (transport == 1)
                client << "--cafile" << path("cert.pem");
            if (transport != 0)
                watch << "--mqtt-cafile" << path("cert.pem");
        } else {
            QCOMPARE(QProcess::execute("mosquitto_passwd", {"-c", "-b", path("passwd"), "kv36", "heslo"}), 0);
            config << "password_file " + path("passwd");
            client << "-u" << "kv36" << "-P" << "heslo";
            QFile credentials(path("udaje"));
            QVERIFY(credentials.open(QIODevice::WriteOnly) && credentials.write(("kv36\n" + secret + "\n").toUtf8())
                    && credentials.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            watch << "--mqtt-credentials" << credentials.fileName();
        }
        MqttBroker broker(config, client);
        QVERIFY(broker.start());
        startWatch(QStringList{"--mqtt", broker.address()} + watch);
        said.replace("%1", broker.address().section(u':', 1));
        QString told;
        QTRY_VERIFY2_WITH_TIMEOUT((told += m_watch.readAllStandardError()).contains(said), qPrintable(told), 15000);
        QCOMPARE(broker.waitFor(kAvailability, "online", 2).value(0) == "online", said == "MQTT: připojeno");
    }

    // A reading that fails says what failed: the regulator, or the
    // connection to the server in front of it.
    void namesWhatFailed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("said");
        QTest::newRow("regulator silent") << "silent" << "Regulátor neodpovídá";
        QTest::newRow("server gone") << "server" << "Spojení se serverem %1 je přerušeno";
    }

    void namesWhatFailed()
    {
        QFETCH(QString, fault);
        QFETCH(QString, said);
        SerialServer server(SerialServer::Kind::RawTcp, m_sim->portPath());
        QVERIFY(server.start());
        m_watch.start(QStringLiteral(QZR17CTL_PATH),
                      {"--port", server.address(), "watch", "--interval", "1", "--log", path("sit.txt")});
        QString told;
        QTRY_VERIFY((told += m_watch.readAllStandardError()).contains("Regulátor odpovídá"));
        if (fault == "silent")
            QCOMPARE(m_sim->command("silent on"), QStringLiteral("OK"));
        else
            server.kill();
        said.replace("%1", server.address());
        QTRY_VERIFY2_WITH_TIMEOUT((told += m_watch.readAllStandardError()).contains(said), qPrintable(told), 5000);
    }
};

int main(int argc, char** argv)
{
    return runAppTest<TestWatch>(argc, argv, QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

#include "tst_watch.moc"
