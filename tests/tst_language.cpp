// The language of the windows: every window, open since the start, walked
// widget by widget after each choice in Nápověda > Jazyk / Language. No text
// of the other language may remain; names and numbers, whose translation is
// the source itself, read the same in both. Back in Czech, nothing has moved.
#include "Hl_modul.h"
#include "app_test_main.h"
#include "port_chooser.h"
#include "port_source.h"
#include "report_preview.h"
#include "scripted_prompts.h"
#include "startup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QXmlStreamReader>

#include <memory>

namespace {

// The texts only one language has: Czech sources and English translations
// that differ from them.
struct Vocabulary {
    QSet<QString> czech;
    QSet<QString> english;
};

Vocabulary readTranslation()
{
    Vocabulary words;
    QFile file(QStringLiteral(KV36_TRANSLATION_SOURCE));
    if (!file.open(QIODevice::ReadOnly))
        return words;
    QXmlStreamReader xml(&file);
    QString source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const QString translation = xml.readElementText();
            if (translation != source) {
                words.czech.insert(source);
                words.english.insert(translation);
            }
        }
    }
    return words;
}

QStringList itemTexts(QWidget* widget)
{
    QStringList texts;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    if (auto* tabs = qobject_cast<QTabBar*>(widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model())
        for (int column = 0; column < view->model()->columnCount(); ++column)
            texts << view->model()->headerData(column, Qt::Horizontal).toString();
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        texts << menu->title();
        for (const QAction* action : menu->actions())
            texts << action->text();
    }
    return texts;
}

// What a user sees of a widget, and what assistive technology reads of it.
QStringList textsOf(QWidget* widget)
{
    QStringList texts{widget->toolTip(), widget->accessibleName(), widget->accessibleDescription()};
    if (widget->isWindow())
        texts << widget->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(widget))
        texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        texts << group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        texts << edit->text() << edit->placeholderText();
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        texts << spin->prefix() << spin->suffix();
    if (auto* chart = qobject_cast<QChartView*>(widget))
        texts << chart->chart()->title();
    return texts + itemTexts(widget);
}

// An editable combo box that shows the whole of its text, not the end of it:
// a line edit keeps two pixels each side of the text and one for the cursor.
bool showsWholeText(const QComboBox* combo)
{
    const QLineEdit* edit = combo->lineEdit();
    return edit->fontMetrics().horizontalAdvance(edit->text()) + 5 <= edit->contentsRect().width();
}

QList<QWidget*> everyWidget()
{
    QList<QWidget*> widgets;
    for (QWidget* window : QApplication::topLevelWidgets())
        widgets << window << window->findChildren<QWidget*>();
    return widgets;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<Tqzr17> m_main;
    std::unique_ptr<PortChooser> m_chooser;
    SystemPortSource m_ports;
    Vocabulary m_words;
    QHash<QWidget*, QRect> m_czechGeometry;

private slots:
    void initTestCase()
    {
        m_words = readTranslation();
        QVERIFY(m_words.czech.size() > 300);
        // No regulator: the link window's failures are answered by the script.
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_main.reset(createWindows().main);
        m_main->mn_provozClick();
        // The settings window once shown in Czech: its boxes measured Czech items.
        auto* settings = m_main->findChild<QDialog*>(QStringLiteral("menu_qzr17"));
        settings->show();
        settings->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        m_chooser = std::make_unique<PortChooser>(m_ports, 1, nullptr);
        QCoreApplication::processEvents();
        for (QWidget* widget : everyWidget())
            m_czechGeometry.insert(widget, widget->geometry());
    }

    void cleanupTestCase()
    {
        m_chooser.reset();
        m_main.reset();
    }

    void everyWindowSpeaksTheChosenLanguage_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("english");
        QTest::newRow("Czech with nothing stored") << QString() << false;
        QTest::newRow("English chosen") << "mn_english" << true;
        QTest::newRow("Czech chosen again") << "mn_cestina" << false;
    }

    void everyWindowSpeaksTheChosenLanguage()
    {
        QFETCH(QString, choice);
        QFETCH(bool, english);
        if (!choice.isEmpty()) {
            m_main->findChild<QAction*>(choice)->trigger();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(); // the layouts follow the new texts
            const QSettings store(testConfigDir().filePath(QStringLiteral("Talvex_R16.ini")),
                                  QSettings::IniFormat);
            QCOMPARE(store.value(QStringLiteral("JAZYK/VOLBA")).toString(), english ? "1" : "0");
        }
        const QSet<QString>& expected = english ? m_words.english : m_words.czech;
        const QSet<QString>& foreign = english ? m_words.czech : m_words.english;
        QSet<QString> seen;
        for (QWidget* widget : everyWidget()) {
            for (const QString& text : textsOf(widget)) {
                if (foreign.contains(text))
                    QFAIL(qPrintable(QStringLiteral("%1 in %2 (%3)")
                                         .arg(text, widget->objectName(), widget->window()->objectName())));
                if (expected.contains(text))
                    seen.insert(text);
            }
            if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable() && combo->isVisible())
                QVERIFY2(showsWholeText(combo), qPrintable(combo->currentText()));
            // Back in Czech, every control stands where it stood at the start;
            // the traffic monitor, a window of free size, may keep the room
            // its layout gave to a longer English text. A combo box's own
            // edit follows the box, whenever a hidden page shows again.
            if (!english && widget->window()->objectName() != u"provoz" &&
                !qobject_cast<QComboBox*>(widget->parentWidget()))
                QVERIFY2(widget->geometry() == m_czechGeometry.value(widget, widget->geometry()),
                         qPrintable(widget->objectName() + u' ' + widget->metaObject()->className()));
        }
        // Every window and page was reached, not a few widgets.
        QVERIFY2(seen.size() > 250, qPrintable(QString::number(seen.size())));
        // What leaves the program speaks it too: the report's date, the name
        // suggested for its PDF.
        CommissioningReport report;
        report.created = QDateTime(QDate(2025, 6, 5), QTime(14, 3));
        QVERIFY(report.html().contains(english ? "June" : "června"));
        ReportPreview(report).tl_pdfClick();
        QVERIFY(m_prompts->fileRequests.constLast().fileName.startsWith(english ? "Commissioning_report" : "Protokol"));
    }
};

int main(int argc, char** argv)
{
    return runAppTest<TestLanguage>(argc, argv);
}

#include "tst_language.moc"
