// The Debian package: built from this build with CPack, unpacked into a
// temporary root, its launcher entry leading to the installed program and
// icon, its validators satisfied, and the unpacked programs running with their
// version, pictures and Qt's Czech translation.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAppId = QStringLiteral("cz.koravel.kv36");

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(240000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// The value of `key` in a launcher entry's main group.
QString entryValue(const QString& entryPath, const QString& key)
{
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(file.readAll())).captured(1);
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_package;

    QString root() const { return m_dir.filePath(QStringLiteral("root")); }
    QString installed(const QString& path) const { return root() + QStringLiteral("/usr/") + path; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString output = m_dir.filePath(QStringLiteral("package"));
        const Run cpack = run(QStringLiteral(KV36_CPACK),
                              {QStringLiteral("--config"), QStringLiteral(KV36_CPACK_CONFIG),
                               QStringLiteral("-B"), output});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        const QStringList built = QDir(output).entryList({QStringLiteral("kv36_*.deb")}, QDir::Files);
        QCOMPARE(built.size(), 1);
        m_package = output + u'/' + built.first();
        const Run unpack = run(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_package, root()});
        QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
    }

    // The entry starts an installed program and names an installed icon.
    void launcherEntryLeadsToInstalledFiles()
    {
        const QString entry = installed(QStringLiteral("share/applications/%1.desktop").arg(kAppId));
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/") + entryValue(entry, QStringLiteral("Exec")))).isExecutable());
        const QString icon = entryValue(entry, QStringLiteral("Icon"));
        QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));
    }

    // The watch's unit template starts the installed companion; the package enables no instance.
    void watchUnitStartsTheInstalledCompanion()
    {
        const QString exec = entryValue(root() + QStringLiteral("/usr/lib/systemd/system/kv36-watch@.service"),
                                        QStringLiteral("ExecStart"));
        QVERIFY(exec.startsWith(QStringLiteral("/usr/bin/qzr17ctl ")));
        QVERIFY(QFileInfo(root() + exec.section(u' ', 0, 0)).isExecutable());
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/etc/systemd")));
    }

    void validatorsAccept_data()
    {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("launcher entry") << QStringLiteral("desktop-file-validate")
                                        << QStringList{installed(QStringLiteral("share/applications/%1.desktop").arg(kAppId))};
        QTest::newRow("metainfo") << QStringLiteral("appstreamcli")
                                  << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                 installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId))};
    }

    void validatorsAccept()
    {
        QFETCH(QString, validator);
        QFETCH(QStringList, arguments);
        const Run check = run(validator, arguments);
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

    // Computed from the libraries, plus what is loaded at run time.
    void dependsOnWhatTheProgramLoads_data()
    {
        QTest::addColumn<QString>("package");
        QTest::newRow("Qt's libraries") << QStringLiteral("libqt6widgets6");
        QTest::newRow("SVG plugins") << QStringLiteral("libqt6svg6");
        QTest::newRow("Qt's translations") << QStringLiteral("qt6-translations-l10n");
        QTest::newRow("MQTT client library") << QStringLiteral("libmosquitto1");
    }

    void dependsOnWhatTheProgramLoads()
    {
        QFETCH(QString, package);
        const Run depends = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_package, QStringLiteral("Depends")});
        QCOMPARE(depends.exitCode, 0);
        QVERIFY2(depends.output.contains(QRegularExpression(QStringLiteral("(^|, )%1( |,|$)").arg(package))),
                 qPrintable(depends.output));
    }

    void installedProgramsTellTheirVersion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("kv36") << QStringLiteral("kv36");
        QTest::newRow("qzr17ctl") << QStringLiteral("qzr17ctl");
        QTest::newRow("qzr17-sim") << QStringLiteral("qzr17-sim");
    }

    void installedProgramsTellTheirVersion()
    {
        QFETCH(QString, program);
        const Run version = run(installed(QStringLiteral("bin/") + program), {QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.output, QStringLiteral("%1 %2\n").arg(program, QStringLiteral(KV36_PROGRAM_VERSION)));
    }

    // Debian's package checker: no error and no warning.
    void lintianFindsNothing()
    {
        const Run lintian = run(QStringLiteral("lintian"),
                                {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), m_package});
        QVERIFY2(lintian.exitCode == 0, qPrintable(lintian.output));
    }

    // The installed completion, run by bash as a tab would: what it offers
    // after the words typed.
    void bashCompletesTheCompanion_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offered");
        QTest::newRow("options") << "qzr17ctl --" << "--baud --da --help --lang --port --sa --trace --version";
        QTest::newRow("commands") << "qzr17ctl lo" << "load log-csv";
        QTest::newRow("command after options") << "qzr17ctl --port COM1 --da 3 w" << "watch write";
        QTest::newRow("languages") << "qzr17ctl --lang " << "cs en";
        QTest::newRow("COM entries") << "qzr17ctl --port C" << "COM1 COM12";
        QTest::newRow("load's options") << "qzr17ctl load sada.qzr --" << "--eeprom --force";
        QTest::newRow("watch's options") << "qzr17ctl watch --mqtt-c" << "--mqtt-cafile --mqtt-credentials";
        QTest::newRow("tables") << "qzr17ctl --trace read 2" << "2 20";
        QTest::newRow("no table after the first") << "qzr17ctl write 1 " << "";
    }

    void bashCompletesTheCompanion()
    {
        QFETCH(QString, typed);
        QFETCH(QString, offered);
        QTemporaryDir ports;
        for (const char* entry : {"COM1", "COM12"})
            QVERIFY(QFile(ports.filePath(QLatin1String(entry))).open(QIODevice::WriteOnly));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KV36_PORT_DIR"), ports.path());
        environment.insert(QStringLiteral("COMP_LINE"), typed);
        const QString script = QStringLiteral(
            "source /usr/share/bash-completion/bash_completion; source %1\n"
            "read -ra COMP_WORDS <<<\"$COMP_LINE\"; [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')\n"
            "COMP_POINT=${#COMP_LINE}; COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qzr17ctl\n"
            "echo $(printf '%s\\n' \"${COMPREPLY[@]}\" | sort)");
        const Run bash = run(QStringLiteral("bash"),
                             {QStringLiteral("-c"), script.arg(installed(QStringLiteral("share/bash-completion/completions/qzr17ctl")))},
                             environment);
        QCOMPARE(bash.output.trimmed(), offered);
    }

    // An option that qzr17ctl --help names and the completion does not know
    // has been added to one and not the other.
    void completionKnowsEveryOptionOfTheHelp()
    {
        const Run help = run(installed(QStringLiteral("bin/qzr17ctl")), {QStringLiteral("--lang=en"), QStringLiteral("--help")});
        QFile completion(installed(QStringLiteral("share/bash-completion/completions/qzr17ctl")));
        QVERIFY(completion.open(QIODevice::ReadOnly));
        const QString known = QString::fromUtf8(completion.readAll());
        auto options = QRegularExpression(QStringLiteral("--[a-z][a-z-]*")).globalMatch(help.output);
        QVERIFY(options.hasNext());
        while (options.hasNext()) {
            const QString option = options.next().captured();
            QVERIFY2(known.contains(QRegularExpression(QStringLiteral("[\\s\"]%1[\\s\")]").arg(option))), qPrintable(option));
        }
    }

    // Reported from inside the running program by a plugin of this test.
    void installedProgramFindsItsPicturesAndTranslation()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        environment.insert(QStringLiteral("KV36_PORT_DIR"), home.path());
        environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(KV36_PROBE_PLUGIN_PATH));
        environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("kv36probe"));
        const Run program = run(installed(QStringLiteral("bin/kv36")), {}, environment);
        QCOMPARE(program.exitCode, 0);
        for (const QString& expected : {QStringLiteral("program icon: 1"), QStringLiteral("about picture: 1"),
                                        QStringLiteral("identification picture: 1"),
                                        QStringLiteral("about version: Verze %1").arg(KV36_PROGRAM_VERSION),
                                        QStringLiteral("Qt's Yes button: &Ano")})
            QVERIFY2(program.output.contains(expected + u'\n'), qPrintable(program.output));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
