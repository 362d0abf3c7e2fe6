#pragma once

#include "loaded_marks.h"
#include "param_set_file.h"
#include "prompts.h"
#include "translated_texts.h"
#include "window_fields.h"

#include <QObject>

#include <optional>

class QMenu;
class Tmenu_qzr17;
namespace Ui {
class menu_qzr17;
}

// The settings window's parameter set commands behind its button "Soubor":
// save what the window shows to a file, load a file into the window (nothing
// goes to the regulator before the write buttons), compare the window with a
// file, and the commissioning report. The window tells it of every read and
// write, so that the marks of loaded values last until they are written or
// read over.
class ParamSetCommands : public QObject {
    Q_OBJECT

public:
    ParamSetCommands(Tmenu_qzr17& window, Ui::menu_qzr17& ui);
    ~ParamSetCommands() override;

    void SaveToFile();
    void LoadFromFile();
    void CompareWithFile();
    // The commissioning report in its print preview.
    void PrintReport();

    // After a read, or a write that went through: the pages, or the days,
    // show what the regulator holds.
    void parametersMatchRegulator();
    void weekMatchesRegulator();
    // Before the automatic read: false when loaded values wait to be
    // written and the user chose to keep them.
    bool mayReadOver();
    // The menu's items in the language just chosen.
    void retranslate() const;

private:
    struct Shown {
        ParamRecord record;
        std::vector<param_set::FieldKey> unreadable; // a text that is no number
    };

    // What the window shows, converted as a write would; nothing when an
    // edit was refused (its message has been shown).
    std::optional<ParamRecord> collectShown();
    // The same without messages.
    Shown readShown() const;
    // The shown fields that differ from the set, a text that is no number
    // counting as different.
    std::vector<param_set::FieldKey> differences(const param_set::ParamSet& set, const Shown& shown) const;
    QString shownText(const param_set::FieldKey& key, const Shown& shown) const;
    // The file's path and its set, or nothing (refused files are reported).
    std::optional<std::pair<QString, param_set::ParamSet>> askAndRead(const QString& title);
    void apply(const param_set::ParamSet& set);
    // Leaves out the tables that the regulator's firmware does not have;
    // true when the set held one.
    bool dropTablesFirmwareLacks(param_set::ParamSet& set) const;
    QString firmwareLacksNote() const;
    // A set from another type of device loads only when the user says so.
    bool mayLoadType(const param_set::ParamSet& set) const;
    // The pages and the days that the set leaves as they are, a line each.
    QStringList notFilled(const param_set::ParamSet& set) const;
    void report(const QString& text, Prompts::Icon icon) const;

    Tmenu_qzr17& m_window;
    Ui::menu_qzr17& m_ui;
    WindowFields m_fields;
    LoadedMarks m_marks;
    QMenu* m_menu;
    TranslatedTexts m_texts{"ParamSetCommands"};
};
