// The storage settings dialog "Nastavení": its checks on "OK", and the main
// window's "Nastavení ukládání" filling it and taking the values back, the
// file interval in minutes, and the settings store at close.
#include "app_test_main.h"
#include "Hl_modul.h"
#include "UnitNast.h"
#include "scripted_prompts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QSettings stored()
{
    return QSettings(testConfigDir().filePath(QStringLiteral("Talvex_R16.ini")), QSettings::IniFormat);
}

QLineEdit* edit(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }

} // namespace

class TestUnitNast : public QObject {
    Q_OBJECT

    std::unique_ptr<Tqzr17> m_window;
    Tform_nastaveni* m_dialog = nullptr;

    // Runs "Nastavení ukládání" as an event; `inside` runs while the dialog
    // is open and closes it.
    void runMnGraf(const std::function<void()>& inside)
    {
        Tqzr17* window = m_window.get();
        Tform_nastaveni* dialog = m_dialog;
        QMetaObject::invokeMethod(
            window,
            [window, dialog, inside] {
                QTimer::singleShot(0, dialog, inside);
                window->findChild<QAction*>("mn_graf")->trigger();
            },
            Qt::QueuedConnection);
        QCoreApplication::processEvents();
        QTRY_VERIFY(!m_dialog->isVisible());
    }

    void type(const QStringList& texts)
    {
        edit(m_dialog, "ed_pocet_mereni")->setText(texts[0]);
        edit(m_dialog, "ed_zapis_graf")->setText(texts[1]);
        edit(m_dialog, "ed_zapis_soubor")->setText(texts[2]);
    }

    QStringList shown() const
    {
        return {edit(m_dialog, "ed_pocet_mereni")->text(), edit(m_dialog, "ed_zapis_graf")->text(),
                edit(m_dialog, "ed_zapis_soubor")->text()};
    }

private slots:
    void init()
    {
        QFile::remove(testConfigDir().filePath(QStringLiteral("Talvex_R16.ini")));
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        m_dialog = new Tform_nastaveni(m_window.get());
        m_window->setStorageDialog(m_dialog);
    }

    void cleanup() { m_window.reset(); }

    void theDefaultsShowAsMinutesAndConfirmToZero()
    {
        ScriptedPrompts prompts;
        QStringList texts;
        runMnGraf([&] {
            texts = shown();
            m_dialog->findChild<QPushButton*>("tl_ok")->click();
        });
        QCOMPARE(texts, (QStringList{"400", "1", "0"}));
        QCOMPARE(m_window->point_limit, 400);
        QCOMPARE(m_window->chart_interval, 1);
        QCOMPARE(m_window->file_interval, 0);
        QVERIFY(prompts.calls.isEmpty());
    }

    void ninetySecondsShowAsOneMinuteAndBecomeSixty()
    {
        m_window->file_interval = 90;
        QString minutes;
        runMnGraf([&] {
            minutes = edit(m_dialog, "ed_zapis_soubor")->text();
            m_dialog->findChild<QPushButton*>("tl_ok")->click();
        });
        QCOMPARE(minutes, QStringLiteral("1"));
        QCOMPARE(m_window->file_interval, 60);
    }

    void fiveMinutesAreStoredAsSecondsAtClose()
    {
        runMnGraf([&] {
            type({"1000", "5", "5"});
            m_dialog->findChild<QPushButton*>("tl_ok")->click();
        });
        QCOMPARE(m_window->file_interval, 300);
        m_window->close();
        QCOMPARE(stored().value("GRAF/DOSOUBORU").toString(), QStringLiteral("300"));
        QCOMPARE(stored().value("GRAF/DOGRAFU").toString(), QStringLiteral("5"));
        QCOMPARE(stored().value("GRAF/POCET").toString(), QStringLiteral("1000"));
    }

    void okChecksEveryField_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("closed");
        QTest::newRow("all whole numbers") << QStringList{"10", "2", "3"} << 0 << QStringList{"10", "2", "3"}
                                           << "" << true;
        QTest::newRow("zero everywhere") << QStringList{"0", "0", "0"} << 0 << QStringList{"0", "0", "0"} << ""
                                         << true;
        QTest::newRow("text in two fields") << QStringList{"abc", "2", "x"} << 2 << QStringList{"0", "2", "0"}
                                            << "ed_zapis_soubor" << false;
        QTest::newRow("text in the first field") << QStringList{"abc", "2", "3"} << 1
                                                 << QStringList{"0", "2", "3"} << "ed_pocet_mereni" << false;
        QTest::newRow("negative count") << QStringList{"-5", "2", "3"} << 1 << QStringList{"0", "2", "3"}
                                        << "ed_pocet_mereni" << false;
        QTest::newRow("negative intervals") << QStringList{"10", "-1", "-2"} << 2 << QStringList{"10", "0", "0"}
                                            << "ed_zapis_soubor" << false;
        QTest::newRow("empty") << QStringList{"10", "", "3"} << 1 << QStringList{"10", "0", "3"} << "ed_zapis_graf"
                               << false;
        QTest::newRow("decimal") << QStringList{"10", "1,5", "3"} << 1 << QStringList{"10", "0", "3"}
                                 << "ed_zapis_graf" << false;
        QTest::newRow("minutes beyond what seconds can hold")
            << QStringList{"10", "2", "35791395"} << 1 << QStringList{"10", "2", "0"} << "ed_zapis_soubor" << false;
        QTest::newRow("the most minutes seconds can hold")
            << QStringList{"10", "2", "35791394"} << 0 << QStringList{"10", "2", "35791394"} << "" << true;
    }

    void okChecksEveryField()
    {
        QFETCH(QStringList, typed);
        QFETCH(int, messages);
        QFETCH(QStringList, after);
        QFETCH(QString, focus);
        QFETCH(bool, closed);
        ScriptedPrompts prompts;
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
        type(typed);
        m_dialog->findChild<QPushButton*>("tl_ok")->click();
        QCOMPARE(prompts.calls.size(), messages);
        for (const auto& call : prompts.calls) {
            QCOMPARE(call.text, QStringLiteral("Je nutné zadávat pouze čísla"));
            QCOMPARE(call.caption, QStringLiteral("CHYBA"));
            QCOMPARE(call.icon, Prompts::Icon::Warning);
        }
        QCOMPARE(shown(), after);
        QCOMPARE(m_dialog->isVisible(), !closed);
        if (!focus.isEmpty())
            QCOMPARE(m_dialog->focusWidget()->objectName(), focus);
        m_dialog->hide();
    }

    void theCloseBoxTakesTheTextsBackUntilOneIsNoNumber()
    {
        ScriptedPrompts prompts;
        m_window->file_interval = 120;
        runMnGraf([&] {
            type({"20", "abc", "7"});
            m_dialog->reject();
        });
        QCOMPARE(prompts.texts(), QStringList{"'abc' is not a valid integer value."});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("KV-36"));
        QCOMPARE(m_window->point_limit, 20);
        QCOMPARE(m_window->chart_interval, 1);
        QCOMPARE(m_window->file_interval, 120);
    }

    void theCloseBoxWithNumbersTakesThemAll()
    {
        runMnGraf([&] {
            type({"30", "4", "2"});
            m_dialog->reject();
        });
        QCOMPARE(m_window->point_limit, 30);
        QCOMPARE(m_window->chart_interval, 4);
        QCOMPARE(m_window->file_interval, 120);
    }

    void negativeStoredValuesAreTreatedAsZeroAndOne()
    {
        m_window.reset();
        {
            QSettings s = stored();
            s.setValue("GRAF/POCET", "-5");
            s.setValue("GRAF/DOGRAFU", "-3");
            s.setValue("GRAF/DOSOUBORU", "-60");
        }
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        QCOMPARE(m_window->point_limit, 0);
        QCOMPARE(m_window->chart_interval, 1);
        QCOMPARE(m_window->file_interval, 1);
        QCOMPARE(m_window->chart_tick, 1);
        QCOMPARE(m_window->file_tick, 1);
    }

    void pollingGoesOnWhileTheDialogIsOpen()
    {
        m_window->check_spust->setChecked(true);
        bool active = false;
        runMnGraf([&] {
            active = m_window->Timer1->isActive();
            m_dialog->reject();
        });
        QVERIFY(active);
        m_window->check_spust->setChecked(false);
    }

    void everyControlHasANameAndAnAccessibleName()
    {
        const QStringList names{"Label1", "Label2", "Label3", "Label4", "Label5", "Label6",
                                "ed_pocet_mereni", "ed_zapis_graf", "ed_zapis_soubor", "tl_ok"};
        for (const QString& name : names) {
            auto* widget = m_dialog->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(name));
        }
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Nastavení"));
        QCOMPARE(m_dialog->findChild<QLabel*>("Label3")->text(), QStringLiteral("sek."));
        QCOMPARE(m_dialog->findChild<QLabel*>("Label5")->text(), QStringLiteral("min."));
        QVERIFY(m_dialog->findChild<QLabel*>("Label5")->font().bold());
        for (const char* name : {"pa_voda", "pa_venkovni", "pa_sp", "pa_utlum", "pa_odchylka", "pa_barva_pera",
                                 "tl_barva_pera", "check_spust", "pa_prijem", "Chart1", "Label49"}) {
            auto* widget = m_window->findChild<QWidget*>(name);
            QVERIFY2(widget && !widget->accessibleName().isEmpty(), name);
        }
    }
};

int main(int argc, char** argv) { return runAppTest<TestUnitNast>(argc, argv, QLocale(QLocale::Czech, QLocale::CzechRepublic)); }

#include "tst_unit_nast.moc"
