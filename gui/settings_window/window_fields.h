#pragma once

#include "param_set_file.h"

#include <QString>

#include <map>
#include <utility>

class QLabel;
class QWidget;
namespace Ui {
class menu_qzr17;
}

// Where the settings window shows each field of a parameter set: the control,
// its descriptive label and its page, and the field's value as the window
// presents it. The day fields are shown by the day edits, whichever day they
// hold.
class WindowFields {
public:
    explicit WindowFields(Ui::menu_qzr17& ui);

    // The edit or combo box; nullptr for a field the window does not show.
    QWidget* control(const param_set::FieldKey& key) const;
    // The caption of the page, or the day's name.
    QString page(const param_set::FieldKey& key) const;
    // The descriptive label as the page reads now.
    QString label(const param_set::FieldKey& key) const;
    // The parameter name beside the control.
    static QString name(const param_set::FieldKey& key);
    // The value in the locale's number format; a combo's item text.
    QString text(const param_set::FieldKey& key, const ParamRecord& record) const;
    // Sets a parameter page's control from the record, as a read would.
    void show(const param_set::FieldKey& key, const ParamRecord& record) const;
    // The control's value into the record's field, converted as a write
    // would but without a message; false when the text is no number.
    bool readShown(const param_set::FieldKey& key, ParamRecord& record) const;

    static bool isDay(int table);

private:
    struct Place {
        QWidget* control = nullptr;
        QLabel* label = nullptr;
        int firstItemValue = 0; // 1 for the combo whose items count from 1
    };

    void addTable(int table, std::initializer_list<Place> places);
    Place place(const param_set::FieldKey& key) const;

    Ui::menu_qzr17& m_ui;
    std::map<std::pair<int, size_t>, Place> m_places;
};
