#include "window_fields.h"

#include "ui_UnitMenuMod.h"

#include "edit_conversions.h"

#include "regulator_sequences.h"
#include <QLocale>

#include <cmath>

using param_set::FieldKey;
using regulator_sequences::kDayCount;
using regulator_sequences::kFirstDayTable;

namespace {

constexpr size_t kLevels = 4;

// A field of a copy of the record; the copy must outlive the reference.
FieldRef fieldOf(ParamRecord& record, const FieldKey& key)
{
    const TableFields layout(key.table, record);
    return layout.fields()[key.index];
}

// The file's shortest form with the locale's decimal separator and sign.
QString localized(const FieldRef& field)
{
    const QLocale locale;
    QString text = param_set::formatValue(field);
    text.replace(u'.', locale.decimalPoint());
    text.replace(u'-', locale.negativeSign());
    return text;
}

} // namespace

WindowFields::WindowFields(Ui::menu_qzr17& ui) : m_ui(ui)
{
    addTable(0, {{ui.ed_sp0, ui.lb_sp0}, {ui.ed_sp20, ui.lb_sp20}});
    addTable(1, {{ui.cb_type1, ui.lb_type1}, {ui.cb_dp1, ui.lb_dp1}, {ui.ed_strs1, ui.lb_strs1}, {ui.ed_ends1, ui.lb_ends1}});
    addTable(2, {{ui.cb_type2, ui.lb_type2}, {ui.cb_dp2, ui.lb_dp2}, {ui.ed_strs2, ui.lb_strs2}, {ui.ed_ends2, ui.lb_ends2}});
    addTable(3, {{ui.ed_al_low, ui.Label25}, {ui.ed_al_high, ui.Label26}, {ui.ed_al_hyst, ui.lb_al_hyst}});
    // TPID has no descriptive label: its parameter name stands for it.
    addTable(4, {{ui.ed_prvni_low, ui.lb_prvni_low}, {ui.ed_prvni_high, ui.lb_prvni_high},
                 {ui.ed_druhy_low, ui.lb_druhy_low}, {ui.ed_druhy_high, ui.lb_druhy_high}, {ui.cb_rego, ui.lb_rego},
                 {ui.ed_dser, ui.lb_dser}, {ui.ed_dead, ui.lb_dead}, {ui.ed_f2, ui.lb_f2},
                 {ui.cb_tpid, ui.lb_tpid_par, 1}});
    addTable(5, {{ui.cb_rele1, ui.lb_rele1}, {ui.cb_rele2, ui.lb_rele2}, {ui.cb_rele3, ui.lb_rele3},
                 {ui.cb_rele4, ui.lb_rele4}, {ui.cb_yout, ui.lb_yout}});
    addTable(6, {{ui.cb_filtr, ui.lb_filtr}, {ui.ed_heslo, ui.lb_heslo}, {ui.cb_lock, ui.lb_lock}, {}});
    addTable(param_set::kAddressTable, {{ui.ed_adresa, ui.lb_adresa}});
    addTable(17, {{ui.ed_pb, ui.lb_pb}, {ui.ed_ti, ui.lb_ti}, {ui.ed_di, ui.lb_di}});
    addTable(19, {{ui.cb_a_in, ui.lb_a_in}, {ui.cb_aout, ui.lb_aout}, {ui.ed_astr, ui.lb_astr}, {ui.ed_aend, ui.lb_aend}});
    addTable(20, {{ui.cb_alarm_lo, ui.Label104}, {ui.cb_alarm_hi, ui.Label105}});
    const std::array<QLineEdit*, kLevels> shifts{ui.ed_utlum1, ui.ed_utlum2, ui.ed_utlum3, ui.ed_utlum4};
    const std::array<QLineEdit*, kLevels> hours{ui.ed_hod1, ui.ed_hod2, ui.ed_hod3, ui.ed_hod4};
    const std::array<QLineEdit*, kLevels> minutes{ui.ed_min1, ui.ed_min2, ui.ed_min3, ui.ed_min4};
    for (int day = kFirstDayTable; day < kFirstDayTable + kDayCount; ++day) {
        for (size_t k = 0; k < kLevels; ++k) {
            m_places[{day, k}] = {shifts[k]};
            m_places[{day, kLevels + k}] = {hours[k]};
            m_places[{day, 2 * kLevels + k}] = {minutes[k]};
        }
    }
}

void WindowFields::addTable(int table, std::initializer_list<Place> places)
{
    size_t index = 0;
    for (const Place& place : places)
        m_places[{table, index++}] = place;
}

WindowFields::Place WindowFields::place(const FieldKey& key) const
{
    const auto found = m_places.find({key.table, key.index});
    return found == m_places.end() ? Place{} : found->second;
}

bool WindowFields::isDay(int table)
{
    return table >= kFirstDayTable
           && table < kFirstDayTable + kDayCount;
}

QWidget* WindowFields::control(const FieldKey& key) const { return place(key).control; }

QString WindowFields::page(const FieldKey& key) const
{
    if (isDay(key.table))
        return m_ui.TabControl1->tabText(key.table - kFirstDayTable);
    for (QWidget* w = control(key); w; w = w->parentWidget()) {
        const int index = m_ui.pgc->indexOf(w);
        if (index >= 0)
            return m_ui.pgc->tabText(index);
    }
    return {};
}

QString WindowFields::label(const FieldKey& key) const
{
    const Place shown = place(key);
    if (shown.label)
        return shown.label->text().trimmed();
    return shown.control ? shown.control->accessibleName() : name(key);
}

QString WindowFields::name(const FieldKey& key)
{
    ParamRecord scratch;
    return QLatin1String(fieldOf(scratch, key).name);
}

QString WindowFields::text(const FieldKey& key, const ParamRecord& record) const
{
    ParamRecord copy = record;
    const FieldRef field = fieldOf(copy, key);
    const Place shown = place(key);
    if (auto* combo = qobject_cast<QComboBox*>(shown.control)) {
        const int item = std::visit([](auto* value) { return static_cast<int>(*value); }, field.value)
                         - shown.firstItemValue;
        if (item >= 0 && item < combo->count())
            return combo->itemText(item);
    }
    return localized(field);
}

void WindowFields::show(const FieldKey& key, const ParamRecord& record) const
{
    ParamRecord copy = record;
    const FieldRef field = fieldOf(copy, key);
    const Place shown = place(key);
    if (auto* combo = qobject_cast<QComboBox*>(shown.control)) {
        selectIndex(combo, std::visit([](auto* value) { return static_cast<int>(*value); }, field.value)
                               - shown.firstItemValue);
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(shown.control);
    if (!edit)
        return;
    std::visit([edit](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, float>)
            edit->setText(floatText(*value));
        else if constexpr (std::is_same_v<T, int32_t>)
            edit->setText(intText(*value));
        else
            edit->setText(byteText(*value));
    }, field.value);
}

bool WindowFields::readShown(const FieldKey& key, ParamRecord& record) const
{
    const FieldRef field = fieldOf(record, key);
    const Place shown = place(key);
    if (auto* combo = qobject_cast<QComboBox*>(shown.control)) {
        const int value = selectedIndex(combo) + shown.firstItemValue;
        std::visit([value](auto* target) { *target = static_cast<std::remove_pointer_t<decltype(target)>>(value); },
                   field.value);
        return true;
    }
    auto* edit = qobject_cast<QLineEdit*>(shown.control);
    if (!edit)
        return true;
    return std::visit([edit](auto* target) {
        using T = std::remove_pointer_t<decltype(target)>;
        if constexpr (std::is_same_v<T, float>) {
            // As a write would: an edit still showing the value keeps it unrounded.
            if (std::isfinite(*target) && edit->text() == floatText(*target))
                return true;
            const auto value = parseFloat(edit->text());
            *target = value.value_or(0);
            return value.has_value();
        } else {
            const auto value = parseInt(edit->text());
            // A byte edit keeps the low 8 bits of the number typed.
            if constexpr (std::is_same_v<T, int8_t>)
                *target = static_cast<int8_t>(static_cast<uint8_t>(value.value_or(0) & 0xFF));
            else
                *target = value.value_or(0);
            return value.has_value();
        }
    }, field.value);
}
