// The parameter set file: strict reading with line numbers, exact round
// trips under any locale, and a reader that survives any bytes.
#include "param_set_file.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <limits>

using namespace param_set;

namespace {

// Every field inside its range, floats that need all their digits.
ParamRecord tunedRecord()
{
    ParamRecord r{};
    r.SP_0 = 75.125f;
    r.SP20 = std::numeric_limits<float>::denorm_min();
    r.input1 = {1, 2, -49.99f, 150.1f};
    r.input2 = {2, 0, -999.0f, 9999.0f};
    r.SPLO = -3.4e38f;
    r.SPHI = 0.1f;
    r.HYST = 10.0f;
    r.P_LO = -1.5f, r.P_HI = 3.0f, r.D_LO = -20.0f, r.D_HI = 1.0f / 3.0f;
    r.REGO = 1, r.DSER = 1000, r.DEAD = 10, r.F2 = 16, r.TPID = 50;
    r.RE_1 = 1, r.RE_2 = 2, r.YOUT = 2;
    r.FILTR = 15, r.PASS = 9999, r.LOC_ = 1, r.reserved = -128;
    r.regulator_address = 126;
    for (int d = 0; d < 7; ++d)
        r.days[d] = {-50.0f, 0.0f, 2.5f, 50.0f, 0, 8, 16, 23, 0, 30, 0, static_cast<int8_t>(59 - d)};
    r.PB = -500.0f, r.INT = 0.01f, r.DER = 9999.0f;
    r.A_IN = 1, r.AOUT = 3, r.ASTR = -0.0f, r.AEND = 1e-7f;
    r.INA1 = 2, r.INA2 = 1;
    return r;
}

QByteArray tunedFile()
{
    ParamSet set = completeSet(tunedRecord(), QStringLiteral("QZR 17"), QStringLiteral("QZR17 v2.1 03.10.2008"));
    set.saved = QDateTime(QDate(2026, 12, 9), QTime(10, 15), Qt::OffsetFromUTC, 3600);
    return formatSet(set);
}

int lineOf(const QByteArray& text, const QByteArray& line)
{
    const QList<QByteArray> lines = text.split('\n');
    return static_cast<int>(lines.lastIndexOf(line)) + 1;
}

QString errorOf(const ReadResult& result)
{
    const auto* error = std::get_if<SetError>(&result);
    return error ? error->message() : QString();
}

QByteArray replaced(QByteArray text, const QByteArray& line, const QByteArray& by)
{
    const qsizetype at = text.indexOf('\n' + line + '\n');
    return text.replace(at + 1, line.size(), by);
}

} // namespace

class TestParamSetFile : public QObject {
    Q_OBJECT

private slots:
    void refusal_data();
    void refusal();
    void roundTripUnderLocale_data();
    void roundTripUnderLocale();
    void wholeFile_data();
    void wholeFile();
    void partialSetHoldsOnlyItsTables();
    void anyBytesNeverCrash();
    void saveRefusesWhatCannotBeSaved();
    void saveRemovesWhatAKilledSaveLeft();
};

void TestParamSetFile::refusal_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("by");
    QTest::addColumn<QByteArray>("blamed"); // the line the message must name
    QTest::addColumn<QString>("reason");

    QTest::newRow("clock section") << QByteArray("[0]") << QByteArray("[15]") << QByteArray("[15]")
                                   << "neznámý oddíl \"[15]\"";
    QTest::newRow("measured values") << QByteArray("[19]") << QByteArray("[16]") << QByteArray("[16]")
                                     << "neznámý oddíl \"[16]\"";
    QTest::newRow("section not a number") << QByteArray("[3]") << QByteArray("[alarm]") << QByteArray("[alarm]")
                                          << "neznámý oddíl";
    QTest::newRow("unknown field") << QByteArray("HYST=10") << QByteArray("HYS=10") << QByteArray("HYS=10")
                                   << "tabulka 3 nemá pole \"HYS\"";
    QTest::newRow("field of another table") << QByteArray("HYST=10") << QByteArray("SP_0=10")
                                            << QByteArray("SP_0=10") << "tabulka 3 nemá pole \"SP_0\"";
    QTest::newRow("field twice") << QByteArray("DEAD=10") << QByteArray("DSER=1000") << QByteArray("DSER=1000")
                                 << "pole 4.DSER je uvedeno podruhé";
    QTest::newRow("missing field") << QByteArray("F2=16") << QByteArray("# F2") << QByteArray("[4]")
                                   << "tabulce 4 chybí pole F2";
    QTest::newRow("section twice") << QByteArray("[20]") << QByteArray("[5]") << QByteArray("[5]")
                                   << "tabulka 5 je v souboru podruhé";
    QTest::newRow("decimal comma") << QByteArray("P_LO=-1.5") << QByteArray("P_LO=-1,5") << QByteArray("P_LO=-1,5")
                                   << "hodnota \"-1,5\" pole 4.P_LO není číslo";
    QTest::newRow("fraction in a byte") << QByteArray("TYPE=1") << QByteArray("TYPE=1.0")
                                        << QByteArray("TYPE=1.0") << "pole 1.TYPE není číslo";
    QTest::newRow("empty value") << QByteArray("PASS=9999") << QByteArray("PASS=") << QByteArray("PASS=")
                                 << "pole 6.PASS není číslo";
    QTest::newRow("int16 above range") << QByteArray("DSER=1000") << QByteArray("DSER=1001")
                                       << QByteArray("DSER=1001") << "hodnota 1001 pole 4.DSER je mimo rozsah 5 až 1000";
    QTest::newRow("beyond 64 bits") << QByteArray("PASS=9999") << QByteArray("PASS=99999999999999999999")
                                    << QByteArray("PASS=99999999999999999999") << "pole 6.PASS je mimo rozsah 0 až 9999";
    QTest::newRow("float below range") << QByteArray("INT=0.01") << QByteArray("INT=0.0099")
                                       << QByteArray("INT=0.0099") << "pole 17.INT je mimo rozsah 0.01 až 9999";
    QTest::newRow("hour 24") << QByteArray("hour4=23") << QByteArray("hour4=24") << QByteArray("hour4=24")
                             << "pole 8.hour4 je mimo rozsah 0 až 23";
    QTest::newRow("signed byte wraps") << QByteArray("reserved=-128") << QByteArray("reserved=128")
                                       << QByteArray("reserved=128") << "mimo rozsah -128 až 127";
    QTest::newRow("address 127") << QByteArray("regulator_address=126") << QByteArray("regulator_address=127")
                                 << QByteArray("regulator_address=127") << "mimo rozsah 0 až 126";
    QTest::newRow("not finite") << QByteArray("SPHI=0.1") << QByteArray("SPHI=nan") << QByteArray("SPHI=nan")
                                << "hodnota nan pole 3.SPHI není konečné číslo";
    QTest::newRow("beyond float") << QByteArray("SPHI=0.1") << QByteArray("SPHI=1e39") << QByteArray("SPHI=1e39")
                                  << "není konečné číslo";
    QTest::newRow("no equals sign") << QByteArray("SPHI=0.1") << QByteArray("SPHI 0.1") << QByteArray("SPHI 0.1")
                                    << "čeká se JMÉNO=hodnota";
    QTest::newRow("other version") << QByteArray("KV36 PARAMETER SET 1") << QByteArray("KV36 PARAMETER SET 2")
                                   << QByteArray("KV36 PARAMETER SET 2") << "ve formátu verze 2, program čte verzi 1";
    QTest::newRow("another file") << QByteArray("KV36 PARAMETER SET 1") << QByteArray("[Desktop Entry]")
                                  << QByteArray("[Desktop Entry]") << "soubor není sada parametrů KV-36";
    QTest::newRow("unknown header item") << QByteArray("saved=2026-12-09T10:15:00+01:00")
                                         << QByteArray("author=Novák") << QByteArray("author=Novák")
                                         << "neznámá položka hlavičky \"author\"";
    QTest::newRow("bad time") << QByteArray("saved=2026-12-09T10:15:00+01:00") << QByteArray("saved=včera")
                              << QByteArray("saved=včera") << "čas uložení \"včera\" není platný";
    QTest::newRow("not UTF-8") << QByteArray("device_type=QZR 17") << QByteArray("device_type=QZR \x9a")
                               << QByteArray("device_type=QZR \x9a") << "není v kódování UTF-8";
}

void TestParamSetFile::refusal()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, by);
    QFETCH(QByteArray, blamed);
    QFETCH(QString, reason);
    QByteArray text = tunedFile();
    text = line.startsWith("KV36") ? by + text.mid(line.size()) : replaced(text, line, by);
    const ReadResult result = parseSet(text);
    QVERIFY(std::holds_alternative<SetError>(result));
    const SetError& error = std::get<SetError>(result);
    QCOMPARE(error.line, lineOf(text, blamed));
    QVERIFY2(error.reason.contains(reason), qPrintable(error.message()));
    QVERIFY(error.message().startsWith(QStringLiteral("Řádek %1: ").arg(error.line)));
}

void TestParamSetFile::roundTripUnderLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("Czech, decimal comma") << "cs_CZ.UTF-8";
    QTest::newRow("C, decimal point") << "C";
}

void TestParamSetFile::roundTripUnderLocale()
{
    QFETCH(QString, locale);
    const QByteArray previous = std::setlocale(LC_ALL, nullptr);
    QVERIFY(std::setlocale(LC_ALL, locale.toLatin1().constData()));
    QLocale::setDefault(QLocale(locale.section(u'.', 0, 0)));
    const QByteArray text = tunedFile();
    const ReadResult result = parseSet(text);
    std::setlocale(LC_ALL, previous.constData());
    QLocale::setDefault(QLocale::c());

    QVERIFY(text.contains("\nP_LO=-1.5\n"));
    QVERIFY(text.contains("\nD_HI=0.33333334\n"));
    QVERIFY(!QRegularExpression(QStringLiteral("=[^\n]*,")).match(QString::fromUtf8(text)).hasMatch());
    QVERIFY2(std::holds_alternative<ParamSet>(result), qPrintable(errorOf(result)));
    const ParamSet& set = std::get<ParamSet>(result);
    QVERIFY(differingFields(set, tunedRecord()).empty());
    QCOMPARE(set.record.regulator_address, int8_t{126});
    QCOMPARE(set.deviceVersion, QStringLiteral("QZR17 v2.1 03.10.2008"));
    QCOMPARE(formatSet(set), text);
}

void TestParamSetFile::wholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file at all
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason"); // empty: the file is read

    const QByteArray valid = tunedFile();
    const QByteArray cut = valid.left(valid.indexOf("AEND=") + 6);
    QTest::newRow("tiny value is zero") << replaced(valid, "SPHI=0.1", "SPHI=1e-50") << 0 << QString();
    QTest::newRow("last line cut in its value") << cut << lineOf(cut, "AEND=1") << "řádek nemá konec";
    QTest::newRow("UTF-8 sequence cut at a line's end")
        << replaced(valid, "device_type=QZR 17", "device_type=QZR 17\xC5") << 2 << "není v kódování UTF-8";
    QTest::newRow("only the bus address")
        << QByteArray("KV36 PARAMETER SET 1\n[7]\nregulator_address=5\n") << 3 << "nemá žádnou tabulku";
    QTest::newRow("no such file") << QByteArray() << 0 << "Soubor nelze otevřít";
}

// Through the file, as the programs read it; the caller names the path.
void TestParamSetFile::wholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sada.qzr"));
    QFile file(path);
    QVERIFY(bytes.isNull() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
    file.close();
    const ReadResult result = readSetFile(path);
    QCOMPARE(errorOf(result).isEmpty(), reason.isEmpty());
    if (reason.isEmpty())
        return;
    const SetError& error = std::get<SetError>(result);
    QCOMPARE(error.line, line);
    QVERIFY2(error.reason.contains(reason) && !error.message().contains(path), qPrintable(error.message()));
}

void TestParamSetFile::partialSetHoldsOnlyItsTables()
{
    const QByteArray text("KV36 PARAMETER SET 1\n[0]\nSP_0=60\nSP20=30\n\n# a comment\n[12]\r\nshift1=1\nshift2=2\n"
                          "shift3=3\nshift4=4\nhour1=1\nhour2=2\nhour3=3\nhour4=4\nminute1=1\nminute2=2\nminute3=3\n"
                          "minute4=4\n");
    const ReadResult result = parseSet(text);
    QVERIFY2(std::holds_alternative<ParamSet>(result), qPrintable(errorOf(result)));
    const ParamSet& set = std::get<ParamSet>(result);
    QCOMPARE(set.tables.count(), size_t{2});
    QVERIFY(set.holds(0) && set.holds(12));
    ParamRecord target = tunedRecord();
    for (int table : loadOrder()) {
        if (set.holds(table))
            copyTable(table, set.record, target);
    }
    QCOMPARE(target.SP_0, 60.0f);
    QCOMPARE(target.days[4].minute4, int8_t{4});
    QCOMPARE(target.days[3].minute4, tunedRecord().days[3].minute4);
    QCOMPARE(target.DSER, 1000);
}

// Random bytes and mutations of a valid file: the reader refuses or accepts,
// and what it accepts writes back to a file that reads to the same set.
void TestParamSetFile::anyBytesNeverCrash()
{
    QRandomGenerator random(20261209);
    const QByteArray valid = tunedFile();
    const QList<QByteArray> lines = valid.split('\n');
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        if (round % 3 == 0) {
            text.resize(random.bounded(400));
            for (char& c : text)
                c = static_cast<char>(random.bounded(256));
        } else {
            text = valid;
            for (int edits = 1 + random.bounded(4); edits > 0 && !text.isEmpty(); --edits) {
                const int at = random.bounded(static_cast<int>(text.size()));
                switch (random.bounded(4)) {
                case 0: text[at] = static_cast<char>(random.bounded(256)); break;
                case 1: text.remove(at, random.bounded(40)); break;
                case 2: text.insert(at, lines[random.bounded(static_cast<int>(lines.size()))] + '\n'); break;
                default: text.truncate(at); break;
                }
            }
        }
        const ReadResult result = parseSet(text);
        if (const auto* error = std::get_if<SetError>(&result)) {
            QVERIFY(error->line >= 1 && !error->reason.isEmpty());
            continue;
        }
        ++accepted;
        const QByteArray written = formatSet(std::get<ParamSet>(result));
        const ReadResult again = parseSet(written);
        QVERIFY2(std::holds_alternative<ParamSet>(again), qPrintable(errorOf(again) + u'\n' + QString::fromUtf8(written)));
        QCOMPARE(formatSet(std::get<ParamSet>(again)), written);
    }
    QVERIFY(accepted > 0);
}

// A set with a value the regulator refuses could not be read back; a path
// that cannot be written is reported, not taken for saved.
void TestParamSetFile::saveRefusesWhatCannotBeSaved()
{
    ParamSet set = completeSet(tunedRecord(), {}, {});
    QVERIFY(!findOutOfRange(set));
    set.record.days[6].minute1 = 60;
    QCOMPARE(findOutOfRange(set).value().text, QStringLiteral("14.minute1=60 (0 až 59)"));

    QTemporaryDir dir;
    QFile notADirectory(dir.filePath(QStringLiteral("soubor")));
    QVERIFY(notADirectory.open(QIODevice::WriteOnly));
    const QString path = dir.filePath(QStringLiteral("soubor/sada.txt"));
    QVERIFY(saveSetFile(path, set).value_or(QString()).startsWith(QStringLiteral("Soubor %1 nelze uložit").arg(path)));
}

// A save killed before its commit leaves "<name>.XXXXXX" where the file
// system has no unnamed temporary files; the next save removes that alone.
void TestParamSetFile::saveRemovesWhatAKilledSaveLeft()
{
    QTemporaryDir dir;
    const QStringList kept{"jina.qzr.Ab12Cd", "sada.qzr", "sada.qzr.Ab12Cd7", "sada.qzr.bak"};
    for (const QString& name : kept + QStringList{"sada.qzr.Ab12Cd"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(!saveSetFile(dir.filePath(QStringLiteral("sada.qzr")), completeSet(tunedRecord(), {}, {})));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), kept);
}

QTEST_GUILESS_MAIN(TestParamSetFile)
#include "tst_param_set_file.moc"
