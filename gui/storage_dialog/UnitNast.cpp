#include "UnitNast.h"

#include "app_error.h"
#include "prompts.h"
#include "translated_texts.h"
#include "ui_UnitNast.h"

#include <QEvent>
#include <QLocale>

#include <limits>
#include <optional>

namespace {

constexpr int kLargest = std::numeric_limits<int>::max();
constexpr int kLargestMinutes = Tform_nastaveni::kLargestMinutes;

// Group separators are neither shown nor accepted, as in every edit of the
// program.
QLocale numberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

std::optional<int> countFromText(const QString& text, int largest)
{
    bool ok = false;
    const int value = numberLocale().toInt(text, &ok);
    if (!ok || value < 0 || value > largest)
        return std::nullopt;
    return value;
}

int convert(const QLineEdit* edit, int largest)
{
    const auto value = countFromText(edit->text(), largest);
    if (!value)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(edit->text()));
    return *value;
}

} // namespace

Tform_nastaveni::Tform_nastaveni(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::Tform_nastaveni>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    connect(m_ui->tl_ok, &QPushButton::clicked, this, &Tform_nastaveni::tl_okClick);
}

Tform_nastaveni::~Tform_nastaveni() = default;

void Tform_nastaveni::setValues(const Values& values)
{
    const QLocale locale = numberLocale();
    m_ui->ed_pocet_mereni->setText(locale.toString(values.point_limit));
    m_ui->ed_zapis_graf->setText(locale.toString(values.chart_interval));
    m_ui->ed_zapis_soubor->setText(locale.toString(values.file_minutes));
}

int Tform_nastaveni::pointLimit() const { return convert(m_ui->ed_pocet_mereni, kLargest); }
int Tform_nastaveni::chartInterval() const { return convert(m_ui->ed_zapis_graf, kLargest); }
int Tform_nastaveni::fileMinutes() const { return convert(m_ui->ed_zapis_soubor, kLargestMinutes); }

bool Tform_nastaveni::check(QLineEdit* edit, int largest)
{
    if (countFromText(edit->text(), largest))
        return true;
    prompts().message(tr("Je nutné zadávat pouze čísla"), tr("CHYBA"), Prompts::Icon::Warning,
                      Prompts::Buttons::Ok, this);
    edit->setText(QStringLiteral("0"));
    edit->setFocus();
    return false;
}

void Tform_nastaveni::tl_okClick()
{
    // Every field is checked, so one "OK" reports each refused field.
    const bool count = check(m_ui->ed_pocet_mereni, kLargest);
    const bool chart = check(m_ui->ed_zapis_graf, kLargest);
    const bool file = check(m_ui->ed_zapis_soubor, kLargestMinutes);
    if (count && chart && file)
        accept();
}

void Tform_nastaveni::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateKeepingEdits(*this, [this] { m_ui->retranslateUi(this); });
}
