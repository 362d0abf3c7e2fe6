// The about window: its version label read from an executable's file, and
// silence when the file has no usable version information.
#include "About_cz.h"
#include "scripted_prompts.h"
#include "sim_process.h"
#include "version_info.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Damages the version information of an executable's bytes, given where
// the block starts and how long it is.
using Patch = std::function<void(QByteArray& file, qsizetype blockAt, qsizetype blockSize)>;

QByteArray utf16(const QString& text)
{
    QByteArray bytes;
    for (QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

// Renames a key inside the block; the program's code holds the same keys as
// text of its own, which must stay untouched.
Patch renameKey(const QString& from, const QString& to)
{
    return [from, to](QByteArray& file, qsizetype blockAt, qsizetype blockSize) {
        const QByteArray key = utf16(from);
        const qsizetype at = file.indexOf(key, blockAt);
        QVERIFY(at >= 0 && at + key.size() <= blockAt + blockSize);
        file.replace(at, key.size(), utf16(to));
    };
}

QString label5(const TAboutBox& box) { return box.findChild<QLabel*>(QStringLiteral("Label5"))->text(); }

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;

    // A damaged copy of this test program, which carries the version information.
    QString patchedCopy(const Patch& patch)
    {
        const QString ownPath = QCoreApplication::applicationFilePath();
        QFile own(ownPath);
        const uint32_t size = version_info::versionInfoSize(ownPath);
        QByteArray block(size, '\0');
        if (size == 0 || !own.open(QIODevice::ReadOnly)
            || !version_info::readVersionInfo(ownPath, std::as_writable_bytes(std::span(block.data(), block.size()))))
            return {};
        QByteArray bytes = own.readAll();
        const qsizetype blockAt = bytes.indexOf(block);
        if (blockAt < 0)
            return {};
        patch(bytes, blockAt, block.size());
        QFile copy(m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
            return {};
        return copy.fileName();
    }

private slots:
    void init() { m_prompts.calls.clear(); }

    void versionFromTheExecutable_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("test program carrying the version information") << QCoreApplication::applicationFilePath();
        QTest::newRow("the program itself") << QStringLiteral(KV36_PROGRAM_PATH);
    }

    void versionFromTheExecutable()
    {
        QFETCH(QString, path);
        TAboutBox box(nullptr, path);
        box.FormCreate();
        QCOMPARE(label5(box), QStringLiteral("Verze 2.1.0.0"));
        QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Label5"))->accessibleName(),
                 QStringLiteral("Verze 2.1.0.0"));
    }

    // The three programs' --version and the about window take the number
    // from the same definition.
    void versionOptionMatchesTheAboutWindow_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("kv36") << QStringLiteral(KV36_PROGRAM_PATH);
        QTest::newRow("qzr17ctl") << QStringLiteral(QZR17CTL_PATH);
        QTest::newRow("qzr17-sim") << SimProcess::executablePath();
    }

    void versionOptionMatchesTheAboutWindow()
    {
        QFETCH(QString, path);
        TAboutBox box(nullptr, QStringLiteral(KV36_PROGRAM_PATH));
        box.FormCreate();
        QProcess program;
        program.start(path, {QStringLiteral("--version")});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        const QString shown = label5(box).remove(QStringLiteral("Verze "));
        QVERIFY(!shown.isEmpty());
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()),
                 QStringLiteral("%1 %2\n").arg(QString::fromLatin1(QTest::currentDataTag()), shown));
    }

    void emptyAndSilentWithoutVersion_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Patch>("patch");
        QTest::newRow("program without version information") << SimProcess::executablePath() << Patch();
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing")) << Patch();
        QTest::newRow("file cut inside the block") << QString()
            << Patch([](QByteArray& file, qsizetype at, qsizetype size) { file.truncate(at + size / 2); });
        QTest::newRow("file cut before the block's last byte") << QString()
            << Patch([](QByteArray& file, qsizetype at, qsizetype size) { file.truncate(at + size - 1); });
        QTest::newRow("string table of another language")
            << QString() << renameKey(QStringLiteral("040504E2"), QStringLiteral("040904B0"));
        QTest::newRow("no FileVersion entry")
            << QString() << renameKey(QStringLiteral("FileVersion"), QStringLiteral("FileVerzion"));
    }

    void emptyAndSilentWithoutVersion()
    {
        QFETCH(QString, path);
        QFETCH(Patch, patch);
        if (patch)
            path = patchedCopy(patch);
        QVERIFY(!path.isEmpty());

        TAboutBox box(nullptr, path);
        box.FormCreate();
        QCOMPARE(label5(box), QString());
        QVERIFY(m_prompts.calls.isEmpty());
    }

    void everyControlHasAnAccessibleName()
    {
        TAboutBox box(nullptr, m_dir.filePath(QStringLiteral("missing")));
        box.FormCreate();
        QCOMPARE(box.windowTitle(), QStringLiteral("O aplikaci"));
        for (const char* name : {"Panel1", "ProgramIcon", "ProductName", "Label6", "LabelCompName",
                                 "LabelCompany", "Label1", "Label5", "Bevel1", "Label4", "Label2", "Label3",
                                 "Label7", "Label8", "Label9", "OKButton"}) {
            const auto* control = box.findChild<QWidget*>(QLatin1String(name));
            QVERIFY2(control && !control->accessibleName().isEmpty(), name);
        }
    }

    void pictureIsDrawn()
    {
        TAboutBox box;
        const QPixmap picture = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap();
        QVERIFY(!picture.isNull());
        QVERIFY(picture.toImage().pixelColor(40, 36) != QColor(Qt::transparent));
    }

    void okClosesWithResultOk()
    {
        TAboutBox box;
        box.FormCreate();
        QTimer::singleShot(0, &box, [&box] {
            QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QVERIFY(m_prompts.calls.isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
