// The settings window's parameter set commands without a regulator: saving
// and loading through the real menu, the marks of loaded values and the
// question before the automatic read, the compare dialog and the report.
// Every exchange would go to a recording port, which must stay untouched.
#include "UnitMenuMod.h"
#include "bus_protocol.h"
#include "fake_port.h"
#include "loaded_marks.h"
#include "multi_row_tab_bar.h"
#include "param_record.h"
#include "param_set_file.h"
#include "scripted_prompts.h"
#include "week_programme.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

namespace {

const QLocale kCzech(QLocale::Czech, QLocale::Czechia);
constexpr std::string_view kType = "QZR 17";
const QString kNoAlarmInputs =
    QStringLiteral("Vstupní signály alarmů (tabulka 20) se vynechávají: regulátor s "
                   "firmwarem starším než 3. 10. 2008 je nemá.");
const QString kQuestion = QStringLiteral("Hodnoty načtené ze souboru ještě nebyly zapsány do regulátoru.\n"
                                         "Přečíst regulátor a načtené hodnoty zahodit?");

// What a regulator could hold: every field inside its range and shown by the
// window without rounding.
ParamRecord regulatorRecord()
{
    ParamRecord r{};
    r.SP_0 = 75, r.SP20 = 35.5f;
    r.input1 = {1, 1, -50, 150};
    r.input2 = {2, 0, -20.25f, 80};
    r.SPLO = -5, r.SPHI = 5, r.HYST = 2;
    r.P_LO = -3, r.P_HI = 2, r.D_LO = -8, r.D_HI = 4;
    r.REGO = 1, r.DSER = 120, r.DEAD = 2, r.F2 = 4, r.TPID = 5;
    r.RE_1 = 1, r.RE_2 = 2, r.YOUT = 1;
    r.FILTR = 8, r.PASS = 1234, r.LOC_ = 1;
    r.regulator_address = 3;
    for (int d = 0; d < 7; ++d)
        r.days[d] = {0, -5, 0, -10, 6, 8, 16, 22, 0, 0, static_cast<int8_t>(d), 0};
    r.PB = 20, r.INT = 120, r.DER = 10;
    r.A_IN = 0, r.AOUT = 1, r.ASTR = 0, r.AEND = 100;
    r.INA1 = 0, r.INA2 = 2;
    return r;
}

QString controlState(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return QString::number(qobject_cast<QComboBox*>(w)->currentIndex());
}

// The tabs whose colour changed since the last look but which were not
// repainted where their bar draws them.
class TabRepaints : public QObject {
public:
    explicit TabRepaints(const QList<MultiRowTabBar*>& bars) : m_bars(bars)
    {
        unrepainted();
        for (MultiRowTabBar* bar : bars)
            bar->installEventFilter(this);
    }

    QStringList unrepainted()
    {
        QCoreApplication::processEvents();
        QStringList stale;
        for (MultiRowTabBar* bar : m_bars) {
            for (int i = 0; i < bar->count(); ++i) {
                const QColor before = std::exchange(m_colours[{bar, i}], bar->tabTextColor(i));
                if (before != bar->tabTextColor(i) && !m_painted[bar].contains(bar->tabArea(i)))
                    stale.append(bar->tabText(i));
            }
        }
        m_painted.clear();
        return stale;
    }

    bool eventFilter(QObject* bar, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted[bar] += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QList<MultiRowTabBar*> m_bars;
    QHash<QObject*, QRegion> m_painted;
    QHash<std::pair<QObject*, int>, QColor> m_colours;
};

} // namespace

class TestParamSetCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<Tmenu_qzr17> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    FakePort m_port;

    QString path(const char* name) const { return m_dir->filePath(QString::fromLatin1(name)); }

    void command(const char* name)
    {
        QAction* action = m_window->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY(action);
        action->trigger();
    }

    // Every edit and combo box of the pages and of every day, by name.
    QMap<QString, QString> controlStates()
    {
        QMap<QString, QString> states;
        auto* days = m_window->findChild<QTabBar*>(QStringLiteral("TabControl1"));
        for (int day = 6; day >= 0; --day) {
            days->setCurrentIndex(day);
            for (QWidget* w : m_window->findChildren<QWidget*>()) {
                if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))
                    states[QStringLiteral("%1@%2").arg(w->objectName()).arg(day)] = controlState(w);
            }
        }
        return states;
    }

    QStringList markedControls()
    {
        QStringList marked;
        for (QWidget* w : m_window->findChildren<QWidget*>()) {
            if (w->accessibleDescription() == LoadedMarks::description())
                marked.append(w->objectName());
        }
        marked.sort();
        return marked;
    }

    // A file of the regulator's record with some lines replaced: "NAME=v"
    // the first such line, "T:NAME=v" that of table T.
    QString setFile(const QStringList& replacements, const QByteArray& appended = {})
    {
        QString text = QString::fromUtf8(param_set::formatSet(param_set::completeSet(regulatorRecord(), {}, {})));
        for (const QString& replacement : replacements) {
            const QString table = replacement.contains(u':') ? replacement.section(u':', 0, 0) : QString();
            const QString line = replacement.section(u':', -1);
            const qsizetype section = table.isEmpty() ? 0 : text.indexOf(QStringLiteral("\n[%1]\n").arg(table));
            const qsizetype at = text.indexOf(u'\n' + line.section(u'=', 0, 0) + u'=', section) + 1;
            text.replace(at, text.indexOf(u'\n', at) - at, line);
        }
        QFile file(path("sada.qzr"));
        const QByteArray bytes = text.toUtf8() + appended;
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the set file");
        return file.fileName();
    }

    void load(const QString& file)
    {
        m_prompts->openFileNames = {file};
        command("mn_nacist");
    }

private slots:
    void init()
    {
        QLocale::setDefault(kCzech);
        m_dir = std::make_unique<QTemporaryDir>();
        m_port = FakePort();
        bus_protocol::AttachPort(&m_port);
        m_prompts = std::make_unique<ScriptedPrompts>();
        param_record = regulatorRecord();
        // A regulator of new firmware whose type is known: loading asks it nothing.
        bus_protocol::device_type_text.fill(0);
        std::copy_n(kType.data(), kType.size(), bus_protocol::device_type_text.begin());
        m_window = std::make_unique<Tmenu_qzr17>();
        m_window->new_firmware = 1;
        m_window->ShowParameters();
        m_window->week().ShowDay(0);
    }

    void cleanup()
    {
        m_window.reset();
        m_prompts.reset();
        bus_protocol::AttachPort(nullptr);
    }

    // Save, then load into a fresh window of a fresh program: the controls
    // are equal but the bus address, which a set never changes.
    void saveThenLoadIntoFreshWindow()
    {
        m_prompts->fileNames = {path("uloz.qzr")};
        command("mn_ulozit");
        QCOMPARE(m_prompts->texts(), QStringList());
        QMap<QString, QString> saved = controlStates();

        m_window = std::make_unique<Tmenu_qzr17>();
        m_window->new_firmware = 1;
        param_record = ParamRecord{};
        m_port.written.clear();
        load(path("uloz.qzr"));
        QMap<QString, QString> loaded = controlStates();

        QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("ed_adresa"))->text(), QStringLiteral("0"));
        for (const QString& key : saved.keys()) {
            static const QRegularExpression notInASet(QStringLiteral("^(ed_adresa|ed_real|ed_den|ed_rok|cb_denty|cb_mesic)"));
            if (notInASet.match(key).hasMatch()) {
                saved.remove(key);
                loaded.remove(key);
            }
        }
        QCOMPARE(loaded, saved);
        QCOMPARE(m_port.written.size(), 0);
    }

    void saveHoldsWhatTheRegulatorHolds_data()
    {
        QTest::addColumn<int>("newFirmware");
        QTest::addColumn<QStringList>("lines"); // of the file; "-" before one it must not hold

        QTest::newRow("shown rounded, saved exact")
            << 1 << QStringList{"SP20=35.125", "shift2=20.004", "[20]"};
        QTest::newRow("older firmware never read table 20") << 0 << QStringList{"SP20=35.125", "-[20]"};
    }

    void saveHoldsWhatTheRegulatorHolds()
    {
        QFETCH(int, newFirmware);
        QFETCH(QStringList, lines);
        param_record.SP20 = 35.125f;
        param_record.days[1].shift2 = 20.004f; // Tuesday: shown, left and saved unedited
        m_window->ShowParameters();
        m_window->new_firmware = newFirmware;
        auto* days = m_window->findChild<QTabBar*>(QStringLiteral("TabControl1"));
        days->setCurrentIndex(1);
        days->setCurrentIndex(0);
        m_prompts->fileNames = {path("uloz.qzr")};

        command("mn_ulozit");

        QFile file(path("uloz.qzr"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList saved = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString& line : lines)
            QVERIFY2(saved.contains(line.mid(line.startsWith(u'-'))) != line.startsWith(u'-'),
                     qPrintable(line));
    }

    void saveRefusesWhatWouldNotLoad_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");

        QTest::newRow("not a number") << "ed_pb" << "abc" << "Je nutné zadávat pouze čísla nebo desetinnou čárku";
        QTest::newRow("hour of a day out of range")
            << "ed_hod3" << "24"
            << "Pole \"Úroveň 3: Hodina posuvu\" (karta Pondělí) má hodnotu mimo rozsah, který regulátor přijímá: "
               "8.hour3=24 (0 až 23).\nSada nebyla uložena.";
    }

    void saveRefusesWhatWouldNotLoad()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        m_window->findChild<QLineEdit*>(control)->setText(text);
        m_prompts->fileNames = {path("uloz.qzr")};

        command("mn_ulozit");

        QCOMPARE(m_prompts->texts(), QStringList{message});
        QCOMPARE(m_prompts->fileRequests.size(), 0);
        QVERIFY(!QFile::exists(path("uloz.qzr")));
    }

    void loadMarksExactlyTheChangedControls_data()
    {
        QTest::addColumn<QStringList>("typed");        // "control=text" before loading
        QTest::addColumn<QStringList>("replacements"); // lines of the file
        QTest::addColumn<int>("day");                  // shown when the marks are looked at
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<int>("changed");

        QTest::newRow("float") << QStringList{} << QStringList{"SP_0=70.5"} << 0 << QStringList{"ed_sp0"} << 1;
        QTest::newRow("byte combo and int16") << QStringList{} << QStringList{"RE_2=0", "DSER=300"} << 0
                                              << QStringList{"cb_rele2", "ed_dser"} << 2;
        QTest::newRow("combo counted from 1") << QStringList{} << QStringList{"TPID=50"} << 0 << QStringList{"cb_tpid"}
                                              << 1;
        QTest::newRow("day not shown") << QStringList{} << QStringList{"9:minute4=30"} << 0 << QStringList{} << 1;
        QTest::newRow("that day shown") << QStringList{} << QStringList{"9:minute4=30"} << 1 << QStringList{"ed_min4"}
                                        << 1;
        QTest::newRow("same value typed differently") << QStringList{"ed_sp20=35,50000"} << QStringList{} << 0
                                                      << QStringList{} << 0;
        QTest::newRow("text that is no number, file 0") << QStringList{"ed_astr=abc"} << QStringList{} << 0
                                                        << QStringList{"ed_astr"} << 1;
        QTest::newRow("address is never loaded") << QStringList{} << QStringList{"regulator_address=9"} << 0
                                                 << QStringList{} << 0;
    }

    void loadMarksExactlyTheChangedControls()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, replacements);
        QFETCH(int, day);
        QFETCH(QStringList, marked);
        QFETCH(int, changed);
        for (const QString& entry : typed)
            m_window->findChild<QLineEdit*>(entry.section(u'=', 0, 0))->setText(entry.section(u'=', 1));

        load(setFile(replacements));
        m_window->findChild<QTabBar*>(QStringLiteral("TabControl1"))->setCurrentIndex(day);

        QCOMPARE(markedControls(), marked);
        QCOMPARE(m_prompts->texts(), QStringList{QStringLiteral("Sada parametrů je načtena, změněných polí: %1.\n"
                                                                "Do regulátoru se zapíše až tlačítky Zápis.")
                                                     .arg(changed)});
        QCOMPARE(m_port.written.size(), 0);
    }

    void loadSaysWhatItLeaves_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("newFirmware");
        QTest::addColumn<QList<int>>("lacking");
        QTest::addColumn<QStringList>("texts"); // the last one with the loaded set's fields

        const QString loaded = QStringLiteral("Sada parametrů je načtena, změněných polí: 1.\n"
                                              "Do regulátoru se zapíše až tlačítky Zápis.");
        QTest::newRow("another type: asked, No")
            << "QZR 99" << 1 << QList<int>{}
            << QStringList{"Sada parametrů je z přístroje typu \"QZR 99\", "
                           "připojený regulátor je typu \"QZR 17\".\nPřesto ji načíst?"};
        QTest::newRow("older firmware")
            << "QZR 17" << 0 << QList<int>{} << QStringList{loaded + "\n\n" + kNoAlarmInputs};
        QTest::newRow("set cut short") << "" << 1 << QList<int>{9, 17}
                                       << QStringList{loaded + "\n\nSada nemá hodnoty těchto karet, zůstaly, jak byly: PID."
                                                               "\nSada nemá program těchto dnů, zůstal, jak byl: Úterý."};
    }

    void loadSaysWhatItLeaves()
    {
        QFETCH(QString, type);
        QFETCH(int, newFirmware);
        QFETCH(QList<int>, lacking);
        QFETCH(QStringList, texts);
        m_window->new_firmware = newFirmware;
        param_set::ParamSet set = param_set::completeSet(regulatorRecord(), type, {});
        set.record.SP_0 = 60;
        for (const int table : lacking)
            set.tables.reset(static_cast<size_t>(table));
        QVERIFY(!param_set::saveSetFile(path("sada.qzr"), set));
        m_prompts->answers = {Prompts::Answer::No};

        load(path("sada.qzr"));

        QCOMPARE(m_prompts->texts(), texts);
        const bool asked = m_prompts->calls.first().buttons == Prompts::Buttons::YesNoDefaultNo;
        QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("ed_sp0"))->text(),
                 asked ? "75,00" : "60,00");
    }

    void badFileLoadsNothing_data()
    {
        QTest::addColumn<QStringList>("replacements");
        QTest::addColumn<QByteArray>("appended");
        QTest::addColumn<QString>("blamed");
        QTest::addColumn<QString>("reason");

        QTest::newRow("out of range") << QStringList{"HYST=11"} << QByteArray() << "HYST=11"
                                      << "hodnota 11 pole 3.HYST je mimo rozsah 0 až 10";
        QTest::newRow("clock is no part of a set") << QStringList{} << QByteArray("[15]\nMIN=5\n") << "[15]"
                                                   << "neznámý oddíl \"[15]\"";
    }

    void badFileLoadsNothing()
    {
        QFETCH(QStringList, replacements);
        QFETCH(QByteArray, appended);
        QFETCH(QString, blamed);
        QFETCH(QString, reason);
        const QMap<QString, QString> before = controlStates();
        const ParamRecord record = param_record;
        const QString file = setFile(replacements, appended);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const int line = static_cast<int>(QString::fromUtf8(written.readAll()).split(u'\n').indexOf(blamed)) + 1;

        load(file);

        QCOMPARE(m_prompts->calls.size(), 1);
        QVERIFY2(m_prompts->calls.first().text.endsWith(QStringLiteral("\nŘádek %1: %2").arg(line).arg(reason)),
                 qPrintable(m_prompts->calls.first().text));
        QCOMPARE(controlStates(), before);
        QVERIFY(param_set::differingFields(param_set::completeSet(record, {}, {}), param_record).empty());
        QCOMPARE(markedControls(), QStringList());
    }

    void marksLastUntilTheRegulatorMatches_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("acknowledgements");
        QTest::addColumn<QStringList>("marked");

        QTest::newRow("parameter read") << "tl_cist" << 0 << QStringList{"ed_min4"};
        QTest::newRow("parameter write refused") << "tl_zapis" << 0 << QStringList{"ed_min4", "ed_sp0"};
        QTest::newRow("week read") << "tl_read" << 0 << QStringList{"ed_sp0"};
        QTest::newRow("week written") << "tl_write" << 7 << QStringList{"ed_sp0"};
        QTest::newRow("week write fails") << "tl_write" << 3 << QStringList{"ed_min4", "ed_sp0"};
    }

    void marksLastUntilTheRegulatorMatches()
    {
        QFETCH(QString, action);
        QFETCH(int, acknowledgements);
        QFETCH(QStringList, marked);
        m_window->show();
        m_window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        TabRepaints tabs(m_window->findChildren<MultiRowTabBar*>());
        load(setFile({"SP_0=60", "8:minute4=45"}));
        QCOMPARE(markedControls(), (QStringList{"ed_min4", "ed_sp0"}));
        QCOMPARE(tabs.unrepainted(), QStringList());
        m_port.replies = QList<QByteArray>(acknowledgements, QByteArray::fromHex("100000000016"));

        m_window->findChild<QPushButton*>(action)->click();

        QCOMPARE(markedControls(), marked);
        QCOMPARE(tabs.unrepainted(), QStringList());
    }

    void automaticReadAsksBeforeReadingOver_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<bool>("probed");

        QTest::newRow("nothing loaded") << false << Prompts::Answer::Ok << true;
        QTest::newRow("loaded values kept") << true << Prompts::Answer::No << false;
        QTest::newRow("loaded values read over") << true << Prompts::Answer::Yes << true;
    }

    void automaticReadAsksBeforeReadingOver()
    {
        QFETCH(bool, loaded);
        QFETCH(Prompts::Answer, answer);
        QFETCH(bool, probed);
        if (loaded)
            load(setFile({"SP_0=60"}));
        m_prompts->calls.clear();
        m_prompts->answers = {answer};

        m_window->Timer1Timer();

        const QStringList expected = loaded ? QStringList{kQuestion} : QStringList{};
        QCOMPARE(m_prompts->texts().mid(0, expected.size()), expected);
        if (loaded) {
            QCOMPARE(m_prompts->calls.first().caption, QStringLiteral("Dotaz"));
            QCOMPARE(m_prompts->calls.first().buttons, Prompts::Buttons::YesNoDefaultNo);
        }
        QCOMPARE(!m_port.written.isEmpty(), probed);
        QCOMPARE(markedControls(), loaded ? QStringList{"ed_sp0"} : QStringList{});
    }

    void compareListsTheDifferingFields_data()
    {
        QTest::addColumn<QStringList>("replacements");
        QTest::addColumn<int>("newFirmware");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("equal") << QStringList{} << 1 << "Shodné" << QStringList{};
        QTest::newRow("older firmware, alarm inputs left out")
            << QStringList{"INA1=2"} << 0 << "Shodné\n" + kNoAlarmInputs << QStringList{};
        QTest::newRow("float, int16, combos, day")
            << QStringList{"SP20=36.25", "DSER=300", "TPID=10", "LOC_=0", "10:hour2=9"} << 1 << "Počet rozdílných polí: 5"
            << QStringList{"Ekviterm | Teplota vody při 20°C venkovní teploty (SP20) | 36,25 | 35,5",
                           "REGO | Doba předěhu servopohonu (5-1000s) (DSER) | 300 | 120",
                           "REGO | TPID | 2,0 sekundy | 1,0 sekundy", "Ostatní | Klávesnice (LOC_) | odemčena | zamčena",
                           "Středa | Úroveň 2: Hodina posuvu | 9 | 8"};
    }

    void compareListsTheDifferingFields()
    {
        QFETCH(QStringList, replacements);
        QFETCH(int, newFirmware);
        QFETCH(QString, result);
        QFETCH(QStringList, rows);
        m_window->new_firmware = newFirmware;
        m_prompts->openFileNames = {setFile(replacements)};
        QString shownResult;
        QStringList shownRows;
        QTimer::singleShot(0, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            shownResult = dialog->findChild<QLabel*>(QStringLiteral("lb_vysledek"))->text();
            const auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("str_rozdily"));
            for (int row = 0; row < table->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    cells.append(table->item(row, column)->text());
                shownRows.append(cells.join(QStringLiteral(" | ")));
            }
            dialog->close();
        });

        command("mn_porovnat");

        QCOMPARE(shownResult, result);
        QCOMPARE(shownRows, rows);
        QCOMPARE(m_prompts->calls.size(), 0);
    }

    // Through the preview's "save as PDF": every page's values, the week
    // table and the technician's lines, over more than one printed page.
    void reportPdfHoldsEveryPageAndTheWeek()
    {
        const QString pdf = path("protokol.pdf");
        m_prompts->fileNames = {pdf};
        QTimer::singleShot(0, this, [this] {
            QWidget* preview = QApplication::activeModalWidget();
            preview->findChild<QLineEdit*>(QStringLiteral("ed_technik"))->setText(QStringLiteral("Jan Novák"));
            preview->findChild<QPlainTextEdit*>(QStringLiteral("ed_poznamka"))->setPlainText(QStringLiteral("Kotelna 2"));
            preview->findChild<QPushButton*>(QStringLiteral("tl_pdf"))->click();
            preview->findChild<QPushButton*>(QStringLiteral("tl_zavrit"))->click();
        });

        command("mn_protokol");

        QProcess toText;
        toText.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(toText.waitForFinished(10000));
        const QString raw = QString::fromUtf8(toText.readAllStandardOutput());
        QVERIFY2(raw.count(u'\f') >= 2, "the report fits on one page"); // pdftotext ends each page with a form feed
        const QString text = raw.simplified();
        const QStringList expected{
            "Protokol o nastavení regulátoru", "Technik: Jan Novák", "Poznámka: Kotelna 2", "Adresa regulátoru: 3",
            "Ekviterm", "SP_0 Teplota vody při 0°C venkovní teploty 75,00", "Regulace ONOF",
            "OME_ Omezení požadované hodnoty [°C] 95", "Snímač 2", "STRS Začátek rozsahu (-999 až 9999°C) -20,25",
            "Error", "RE_2 Nastavení chování relé při error Při poruše vypne (OFF)", "Ostatní",
            "FILTR Nastavení filtru (0 až 15)", "PASS Nastavení hesla (0 až 9999) 1234", "REGO Volba typu regulace Třístavová regulce (PID)",
            "TPID 1,0 sekundy", "DACO", "PID", "Čas", "Týdenní režim", "Neděle 6:00 8:00 16:06 22:00", "0,00 °C -5,00 °C 0,00 °C -10,00 °C",
            "Podpis technika"};
        for (const QString& line : expected)
            QVERIFY2(text.contains(line), qPrintable(line));
    }
};

QTEST_MAIN(TestParamSetCommands)
#include "tst_param_set_commands.moc"
