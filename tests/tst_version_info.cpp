// The version-information reader: finding the block in an executable's file,
// reading it and querying its values, against blocks laid out by an
// independent resource compiler, and the embedded block against the one that
// compiler makes from the program's own resource script.
#include "version_info.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <optional>
#include <vector>

using namespace version_info;

namespace {

// A VERSIONINFO resource compiled by llvm-rc (/C 65001) from:
//   FILEVERSION 1,2,3,4 ... BLOCK "StringFileInfo" { BLOCK "040904B0" {
//   VALUE "FileVersion", "9.9.9.9" } BLOCK "040504E2" { VALUE "Comments", ""
//   VALUE "CompanyName", "KORAVEL" VALUE "FileVersion", "1.2.3.4"
//   VALUE "ProductName", "KV-36 ěščřžýáíé" VALUE "ProductVersion", "1.2" } }
//   BLOCK "VarFileInfo" { VALUE "Translation", 0x0409, 0x04B0, 0x0405, 0x04E2 }
// Kept as hex text, so that this test's own file carries no block.
const char kFixtureHex[] =
    "100234000000560053005f00560045005200530049004f004e005f0049004e0046004f0000000000bd04effe00000100"
    "020001000400030002000100040003003f0000000000000004000400010000000000000000000000000000006c010000"
    "010053007400720069006e006700460069006c00650049006e0066006f00000048000000010030003400300039003000"
    "3400420030000000300008000100460069006c006500560065007200730069006f006e000000000039002e0039002e00"
    "39002e00390000000001000001003000340030003500300034004500320000001a000100010043006f006d006d006500"
    "6e007400730000000000000030000800010043006f006d00700061006e0079004e0061006d006500000000004b004f00"
    "52004100560045004c000000300008000100460069006c006500560065007200730069006f006e000000000031002e00"
    "32002e0033002e0034000000400010000100500072006f0064007500630074004e0061006d006500000000004b005600"
    "2d003300360020001b0161010d0159017e01fd00e100ed00e90000002c0004000100500072006f006400750063007400"
    "560065007200730069006f006e00000031002e0032000000480000000100560061007200460069006c00650049006e00"
    "66006f00000000002800080000005400720061006e0073006c006100740069006f006e00000000000904b0040504e204";

const QString kFileVersionPath = QStringLiteral("\\StringFileInfo\\040504E2\\FileVersion");

QByteArray fixture() { return QByteArray::fromHex(kFixtureHex); }

QByteArray utf16(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

// Where the header of the node with `key` starts, searching from `from`.
qsizetype nodeOf(const QByteArray& block, const QString& key, qsizetype from = 0)
{
    const qsizetype at = block.indexOf(utf16(key) + QByteArray(2, '\0'), from);
    return at < 0 ? at : at - 6;
}

void setWord(QByteArray& block, qsizetype at, uint16_t value)
{
    block[at] = static_cast<char>(value & 0xFF);
    block[at + 1] = static_cast<char>(value >> 8);
}

std::span<const std::byte> bytesOf(const QByteArray& data)
{
    return std::as_bytes(std::span(data.constData(), static_cast<size_t>(data.size())));
}

std::optional<QString> query(const QByteArray& block, const QString& path)
{
    return queryVersionText(bytesOf(block), path);
}

// The data of the first RT_VERSION resource in a compiled resource file.
QByteArray versionResourceIn(const QByteArray& res)
{
    constexpr uint16_t kRtVersion = 16;
    const auto dword = [&res](qsizetype at) {
        uint32_t value = 0;
        std::memcpy(&value, res.constData() + at, sizeof value);
        return value;
    };
    for (qsizetype at = 0; at + 12 <= res.size();) {
        const qsizetype dataSize = dword(at);
        const qsizetype headerSize = dword(at + 4);
        if (headerSize < 12 || at + headerSize + dataSize > res.size())
            return {};
        if (dword(at + 8) == (0xFFFFu | uint32_t{kRtVersion} << 16))
            return res.mid(at + headerSize, dataSize);
        at = (at + headerSize + dataSize + 3) & ~qsizetype{3};
    }
    return {};
}

} // namespace

class TestVersionInfo : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return {};
        return file.fileName();
    }

    // The block as the reader reads it from the program that embeds it.
    QByteArray embeddedBlock()
    {
        const uint32_t size = versionInfoSize(QStringLiteral(KV36_EMBEDDING_PROGRAM));
        QByteArray block(size, '\0');
        if (size == 0 || !readVersionInfo(QStringLiteral(KV36_EMBEDDING_PROGRAM),
                                          std::as_writable_bytes(std::span(block.data(), block.size()))))
            return {};
        return block;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void valuesOfACompiledResource_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<std::optional<QString>>("expected");
        const auto text = [](const char* s) { return std::optional(QString::fromUtf8(s)); };
        QTest::newRow("file version of the Czech table") << kFileVersionPath << text("1.2.3.4");
        QTest::newRow("the same key in the other table")
            << QStringLiteral("\\StringFileInfo\\040904B0\\FileVersion") << text("9.9.9.9");
        QTest::newRow("keys in any case")
            << QStringLiteral("\\stringfileinfo\\040504e2\\FILEVERSION") << text("1.2.3.4");
        QTest::newRow("Czech letters") << QStringLiteral("\\StringFileInfo\\040504E2\\ProductName")
                                       << text("KV-36 ěščřžýáíé");
        QTest::newRow("entry after an empty one")
            << QStringLiteral("\\StringFileInfo\\040504E2\\CompanyName") << text("KORAVEL");
        QTest::newRow("last entry of the table")
            << QStringLiteral("\\StringFileInfo\\040504E2\\ProductVersion") << text("1.2");
        QTest::newRow("empty value") << QStringLiteral("\\StringFileInfo\\040504E2\\Comments") << text("");
        QTest::newRow("entry not in the table")
            << QStringLiteral("\\StringFileInfo\\040504E2\\InternalName") << std::optional<QString>();
        QTest::newRow("table not in the block")
            << QStringLiteral("\\StringFileInfo\\041504E2\\FileVersion") << std::optional<QString>();
        QTest::newRow("binary value") << QStringLiteral("\\VarFileInfo\\Translation") << std::optional<QString>();
        QTest::newRow("the fixed part") << QStringLiteral("\\") << std::optional<QString>();
        QTest::newRow("a table, not a value")
            << QStringLiteral("\\StringFileInfo\\040504E2") << std::optional<QString>();
        QTest::newRow("below a value")
            << QStringLiteral("\\StringFileInfo\\040504E2\\FileVersion\\x") << std::optional<QString>();
    }

    void valuesOfACompiledResource()
    {
        QFETCH(QString, path);
        QFETCH(std::optional<QString>, expected);
        QCOMPARE(query(fixture(), path), expected);
    }

    // Each row damages one length or field; the query must neither find the
    // value nor read outside the block (the sanitizer build checks the latter).
    void damagedBlocksGiveNothing_data()
    {
        QTest::addColumn<QByteArray>("block");
        const QByteArray intact = fixture();
        const qsizetype table = nodeOf(intact, QStringLiteral("040504E2"));
        const qsizetype entry = nodeOf(intact, QStringLiteral("FileVersion"), table);
        QVERIFY(table > 0 && entry > table);

        QByteArray b = intact;
        setWord(b, 0, static_cast<uint16_t>(intact.size() + 4));
        QTest::newRow("block longer than the data") << b;
        QTest::newRow("block cut short") << intact.left(intact.size() - 40);
        b = intact;
        b[40] = '\0';
        QTest::newRow("fixed part without its signature") << b;
        b = intact;
        setWord(b, table, 0xFFFF);
        QTest::newRow("table longer than its parent") << b;
        b = intact;
        setWord(b, entry + 2, 200);
        QTest::newRow("value longer than its entry") << b;
        b = intact;
        setWord(b, entry, 4);
        QTest::newRow("entry shorter than its header") << b;
        b = intact;
        setWord(b, entry, 14);
        QTest::newRow("key cut by the entry's end") << b;
    }

    void damagedBlocksGiveNothing()
    {
        QFETCH(QByteArray, block);
        QCOMPARE(query(block, kFileVersionPath), std::nullopt);
    }

    void blocksFoundInFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<uint32_t>("expectedSize");
        const QByteArray block = fixture();
        const auto size = static_cast<uint32_t>(block.size());
        const QByteArray strayKey = utf16(QLatin1String("VS_VERSION_INFO")) + QByteArray(2, '\0');
        QTest::newRow("empty file") << QByteArray() << 0u;
        QTest::newRow("only the key") << QByteArray(6, 'x') + strayKey + QByteArray(64, '\0') << 0u;
        QTest::newRow("after a stray key") << QByteArray(8, 'x') + strayKey + QByteArray(8, 'x') + block << size;
        QTest::newRow("at an odd offset") << QByteArray(1, 'x') + block << size;
        QTest::newRow("at the very end") << QByteArray(100, '\x7f') + block << size;
        QTest::newRow("cut by the end of the file") << QByteArray(100, '\x7f') + block.left(block.size() - 1) << 0u;
    }

    void blocksFoundInFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(uint32_t, expectedSize);
        const QString path = writeFile(QString::fromLatin1(QTest::currentDataTag()), content);
        QVERIFY(!path.isEmpty());
        QCOMPARE(versionInfoSize(path), expectedSize);

        QByteArray read(static_cast<qsizetype>(expectedSize) + 1, '\0');
        QCOMPARE(readVersionInfo(path, std::as_writable_bytes(std::span(read.data(), read.size()))),
                 expectedSize > 0);
        if (expectedSize > 0)
            QCOMPARE(read.left(expectedSize), fixture());
    }

    void readingNeedsRoomForTheBlock()
    {
        const QString path = writeFile(QStringLiteral("block"), fixture());
        QByteArray read(fixture().size() - 1, '\0');
        QVERIFY(!readVersionInfo(path, std::as_writable_bytes(std::span(read.data(), read.size()))));
    }

    void executables_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<std::optional<QString>>("fileVersion");
        QTest::newRow("program carrying the block")
            << QStringLiteral(KV36_EMBEDDING_PROGRAM) << std::optional(QStringLiteral(KV36_PROGRAM_VERSION));
        QTest::newRow("program with the reader but no block")
            << QCoreApplication::applicationFilePath() << std::optional<QString>();
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing")) << std::optional<QString>();
        QTest::newRow("a directory") << m_dir.path() << std::optional<QString>();
    }

    void executables()
    {
        QFETCH(QString, path);
        QFETCH(std::optional<QString>, fileVersion);
        const uint32_t size = versionInfoSize(path);
        QCOMPARE(size > 0, fileVersion.has_value());
        std::vector<std::byte> block(size);
        QCOMPARE(readVersionInfo(path, block), fileVersion.has_value());
        if (fileVersion)
            QCOMPARE(queryVersionText(block, kFileVersionPath), fileVersion);
    }

    // The embedded block must be the very block the resource compiler makes
    // from the resource script that Windows builds compile.
    void embeddedBlockMatchesTheResourceCompiler()
    {
        const QString compiler = QStandardPaths::findExecutable(QStringLiteral("llvm-rc"));
        if (compiler.isEmpty())
            QSKIP("llvm-rc (Debian package llvm) is not installed");
        const QString res = m_dir.filePath(QStringLiteral("kv36_version.res"));
        QProcess rc;
        // "--" ends the options: the compiler reads a path such as /check/... as
        // its /c option with the value "heck/...".
        rc.start(compiler, {QStringLiteral("/C"), QStringLiteral("65001"), QStringLiteral("/FO"), res,
                            QStringLiteral("--"), QStringLiteral(KV36_VERSION_RC)});
        QVERIFY(rc.waitForFinished(30000));
        QVERIFY2(rc.exitCode() == 0, rc.readAllStandardError().constData());
        QFile compiled(res);
        QVERIFY(compiled.open(QIODevice::ReadOnly));

        const QByteArray expected = versionResourceIn(compiled.readAll());
        QVERIFY(!expected.isEmpty());
        QCOMPARE(embeddedBlock().toHex(' '), expected.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestVersionInfo)
#include "tst_version_info.moc"
