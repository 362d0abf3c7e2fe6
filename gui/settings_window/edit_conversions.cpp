#include "edit_conversions.h"

#include "prompts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QStackedWidget>
#include <QTabWidget>

#include <cmath>

namespace {

constexpr int kSignificantDigits = 5;
constexpr int kDecimals = 2;

const char* const kFloatMessage =
    QT_TRANSLATE_NOOP("edit_conversions", "Je nutné zadávat pouze čísla nebo desetinnou čárku");
const char* const kWholeMessage = QT_TRANSLATE_NOOP("edit_conversions", "Je nutné zadávat pouze čísla");

int g_refused = 0;

// Group separators are neither shown nor accepted: under a locale with a
// decimal point "1,5" must not be read as 15.
QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// An edit refused while its page is behind another one (during a write)
// comes to the front, so that the user sees which value went out as 0.
void bringPageToFront(QWidget* edit)
{
    for (QWidget* w = edit; w->parentWidget(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (auto* pages = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr) {
            pages->setCurrentWidget(w);
            return;
        }
    }
}

// The message comes first; the field and the edit change once it is closed.
template <typename Field> int refuse(Field& field, QLineEdit* edit, const char* message)
{
    ++g_refused;
    prompts().message(QCoreApplication::translate("edit_conversions", message),
                      QCoreApplication::translate("edit_conversions", "CHYBA"), Prompts::Icon::Warning,
                      Prompts::Buttons::Ok, edit->window());
    field = 0;
    edit->setText(QStringLiteral("0"));
    bringPageToFront(edit);
    edit->setFocus();
    return -1;
}

} // namespace

QString floatText(float value)
{
    if (!std::isfinite(value))
        return numberLocale().toString(value);
    const QString significant = QString::number(static_cast<double>(value), 'g', kSignificantDigits);
    const double rounded = QLocale::c().toDouble(significant);
    const QLocale locale = numberLocale();
    const QString text = locale.toString(rounded, 'f', kDecimals);
    // A value that rounds to zero reads "0,00", never "-0,00".
    if (locale.toDouble(text) == 0.0)
        return locale.toString(0.0, 'f', kDecimals);
    return text;
}

QString byteText(int8_t value) { return numberLocale().toString(static_cast<int>(value)); }

QString intText(int32_t value) { return numberLocale().toString(value); }

std::optional<float> parseFloat(const QString& text)
{
    bool ok = false;
    const float value = numberLocale().toFloat(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int32_t> parseInt(const QString& text)
{
    bool ok = false;
    const int value = numberLocale().toInt(text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int EditToFloat(float& field, QLineEdit* edit)
{
    // An edit that still shows the field's value keeps it exactly: the two
    // decimals shown must not round what came from the regulator (35.125).
    if (std::isfinite(field) && edit->text() == floatText(field))
        return 0;
    const auto value = parseFloat(edit->text());
    if (!value)
        return refuse(field, edit, kFloatMessage);
    field = *value;
    return 0;
}

int EditToByte(int8_t& field, QLineEdit* edit)
{
    const auto value = parseInt(edit->text());
    if (!value)
        return refuse(field, edit, kWholeMessage);
    field = static_cast<int8_t>(static_cast<uint8_t>(*value & 0xFF));
    return 0;
}

int EditToInt(int32_t& field, QLineEdit* edit)
{
    const auto value = parseInt(edit->text());
    if (!value)
        return refuse(field, edit, kWholeMessage);
    field = *value;
    return 0;
}

int RefusedConversions() { return g_refused; }

void selectIndex(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int selectedIndex(const QComboBox* combo)
{
    const int current = combo->currentIndex();
    if (current >= 0 && combo->itemText(current) == combo->currentText())
        return current;
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}
