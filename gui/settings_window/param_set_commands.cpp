#include "param_set_commands.h"

#include "ui_UnitMenuMod.h"

#include "UnitMenuMod.h"
#include "bus_protocol.h"
#include "edit_conversions.h"
#include "firmware.h"
#include "prompts.h"
#include "report_preview.h"
#include "set_compare_dialog.h"
#include "week_programme.h"

#include "regulator_sequences.h"
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QStringDecoder>

using namespace param_set;

namespace {

const QString kExtension = QStringLiteral("qzr");

QString deviceText(const std::array<uint8_t, bus_protocol::kTextSize>& text)
{
    const auto end = std::find(text.begin(), text.end(), uint8_t(0));
    QStringDecoder fromWindows1250("windows-1250");
    return fromWindows1250(QByteArrayView(text.data(), end - text.begin()));
}

struct DeviceTexts {
    QString type;
    QString version;
};

// The type comes only from the identification window, so it is asked for
// when still unknown.
QString regulatorType()
{
    if (bus_protocol::device_type_text[0] == 0)
        bus_protocol::ReadDeviceType();
    return deviceText(bus_protocol::device_type_text);
}

// The version text comes with every connection check.
DeviceTexts deviceTexts() { return {regulatorType(), deviceText(bus_protocol::device_version_text)}; }

} // namespace

ParamSetCommands::ParamSetCommands(Tmenu_qzr17& window, Ui::menu_qzr17& ui)
    : m_window(window), m_ui(ui), m_fields(ui), m_marks(m_fields, ui.pgc->tabBar(), ui.TabControl1),
      m_menu(new QMenu(ui.tl_soubor))
{
    const auto add = [this](const char* name, const char* text, void (ParamSetCommands::*command)()) {
        QAction* action = m_texts.set(m_menu->addAction(QString(), this, command), "text", text);
        action->setObjectName(QLatin1String(name));
    };
    add("mn_ulozit", QT_TR_NOOP("Uložit do souboru..."), &ParamSetCommands::SaveToFile);
    add("mn_nacist", QT_TR_NOOP("Načíst ze souboru..."), &ParamSetCommands::LoadFromFile);
    add("mn_porovnat", QT_TR_NOOP("Porovnat se souborem..."), &ParamSetCommands::CompareWithFile);
    m_menu->addSeparator();
    add("mn_protokol", QT_TR_NOOP("Protokol o nastavení..."), &ParamSetCommands::PrintReport);
    ui.tl_soubor->setMenu(m_menu);
    // Connected after the window's own handler, which may keep the user on the day.
    connect(ui.TabControl1, &QTabBar::currentChanged, this,
            [this] { m_marks.showDay(m_window.week().shownDay()); });
}

ParamSetCommands::~ParamSetCommands() = default;

void ParamSetCommands::report(const QString& text, Prompts::Icon icon) const
{
    prompts().message(text, tr("Sada parametrů"), icon, Prompts::Buttons::Ok, &m_window);
}

std::optional<ParamRecord> ParamSetCommands::collectShown()
{
    const int refused = RefusedConversions();
    for (const int table : setTables()) {
        if (!WindowFields::isDay(table))
            m_window.CollectTable(table);
    }
    m_window.week().SaveDay(m_window.week().shownDay());
    if (RefusedConversions() != refused)
        return std::nullopt;
    return param_record;
}

void ParamSetCommands::SaveToFile()
{
    const std::optional<ParamRecord> shown = collectShown();
    if (!shown)
        return;
    const DeviceTexts texts = deviceTexts();
    ParamSet set = completeSet(*shown, texts.type, texts.version);
    dropTablesFirmwareLacks(set); // their fields were never read
    if (const auto outside = findOutOfRange(set)) {
        report(tr("Pole \"%1\" (karta %2) má hodnotu mimo rozsah, který regulátor přijímá: %3.\n"
                  "Sada nebyla uložena.")
                   .arg(m_fields.label(outside->key), m_fields.page(outside->key), outside->text),
               Prompts::Icon::Warning);
        return;
    }
    const QString suggested = QStringLiteral("QZR17_%1.%2").arg(QDate::currentDate().toString(Qt::ISODate), kExtension);
    const auto path = prompts().saveFileName(
        {tr("Uložit sadu parametrů"), suggested, tr("Sada parametrů (*.qzr)"), kExtension}, &m_window);
    if (!path)
        return;
    if (const auto why = saveSetFile(*path, set))
        report(*why, Prompts::Icon::Error);
}

std::optional<std::pair<QString, ParamSet>> ParamSetCommands::askAndRead(const QString& title)
{
    const auto path = prompts().openFileName({title, tr("Sada parametrů (*.qzr)")}, &m_window);
    if (!path)
        return std::nullopt;
    ReadResult result = readSetFile(*path);
    if (const auto* error = std::get_if<SetError>(&result)) {
        report(
            tr("Soubor %1 není platná sada parametrů, nic nebylo načteno.\n%2").arg(*path, error->message()),
            Prompts::Icon::Error);
        return std::nullopt;
    }
    return std::pair(*path, std::get<ParamSet>(std::move(result)));
}

ParamSetCommands::Shown ParamSetCommands::readShown() const
{
    Shown shown{param_record, {}};
    const int shownDay = regulator_sequences::kFirstDayTable + m_window.week().shownDay();
    for (const int table : setTables()) {
        if (WindowFields::isDay(table) && table != shownDay)
            continue;
        ParamRecord scratch;
        const TableFields layout(table, scratch);
        for (size_t i = 0; i < layout.fields().size(); ++i) {
            if (!m_fields.readShown({table, i}, shown.record))
                shown.unreadable.push_back({table, i});
        }
    }
    return shown;
}

std::vector<FieldKey> ParamSetCommands::differences(const ParamSet& set, const Shown& shown) const
{
    std::vector<FieldKey> differing = differingFields(set, shown.record);
    for (const FieldKey& key : shown.unreadable) {
        if (set.holds(key.table) && key.table != kAddressTable
            && std::find(differing.begin(), differing.end(), key) == differing.end())
            differing.push_back(key);
    }
    std::erase_if(differing, [this](const FieldKey& key) { return m_fields.control(key) == nullptr; });
    std::sort(differing.begin(), differing.end(), [](const FieldKey& a, const FieldKey& b) {
        return std::pair(a.table, a.index) < std::pair(b.table, b.index);
    });
    return differing;
}

QString ParamSetCommands::shownText(const FieldKey& key, const Shown& shown) const
{
    if (std::find(shown.unreadable.begin(), shown.unreadable.end(), key) != shown.unreadable.end())
        return qobject_cast<QLineEdit*>(m_fields.control(key))->text();
    return m_fields.text(key, shown.record);
}

// Every table of the set but the address, which a set never changes.
void ParamSetCommands::apply(const ParamSet& set)
{
    for (const int table : setTables()) {
        if (!set.holds(table) || table == kAddressTable)
            continue;
        copyTable(table, set.record, param_record);
        m_window.tableLoaded(table);
        if (WindowFields::isDay(table))
            continue;
        const TableFields layout(table, param_record);
        for (size_t i = 0; i < layout.fields().size(); ++i)
            m_fields.show({table, i}, param_record);
    }
    m_window.week().ShowDay(m_window.week().shownDay());
}

bool ParamSetCommands::dropTablesFirmwareLacks(ParamSet& set) const
{
    bool dropped = false;
    for (const int table : setTables()) {
        if (set.holds(table) && !firmware::hasTable(table, m_window.new_firmware != 0)) {
            set.tables.reset(static_cast<size_t>(table));
            dropped = true;
        }
    }
    return dropped;
}

QString ParamSetCommands::firmwareLacksNote() const
{
    return tr("Vstupní signály alarmů (tabulka 20) se vynechávají: regulátor s firmwarem starším "
              "než 3. 10. 2008 je nemá.");
}

bool ParamSetCommands::mayLoadType(const ParamSet& set) const
{
    const QString type = regulatorType();
    if (!isFromAnotherType(set, type))
        return true;
    return prompts().message(
               tr("Sada parametrů je z přístroje typu \"%1\", připojený regulátor je typu \"%2\".\n"
                  "Přesto ji načíst?")
                   .arg(set.deviceType, type),
               tr("Dotaz"), Prompts::Icon::Question, Prompts::Buttons::YesNoDefaultNo,
               &m_window) == Prompts::Answer::Yes;
}

QStringList ParamSetCommands::notFilled(const ParamSet& set) const
{
    QStringList pages;
    QStringList days;
    for (const int table : lackingTables(set, m_window.new_firmware != 0)) {
        ParamRecord scratch;
        const TableFields layout(table, scratch);
        QStringList& names = WindowFields::isDay(table) ? days : pages;
        for (size_t i = 0; i < layout.fields().size(); ++i) {
            const QString name = m_fields.page({table, i});
            if (!name.isEmpty() && !names.contains(name))
                names.append(name);
        }
    }
    QStringList lines;
    if (!pages.isEmpty())
        lines.append(tr("Sada nemá hodnoty těchto karet, zůstaly, jak byly: %1.")
                         .arg(pages.join(QStringLiteral(", "))));
    if (!days.isEmpty())
        lines.append(
            tr("Sada nemá program těchto dnů, zůstal, jak byl: %1.").arg(days.join(QStringLiteral(", "))));
    return lines;
}

void ParamSetCommands::LoadFromFile()
{
    auto file = askAndRead(tr("Načíst sadu parametrů"));
    if (!file || !mayLoadType(file->second))
        return;
    ParamSet& set = file->second;
    QStringList notes;
    if (dropTablesFirmwareLacks(set))
        notes.append(firmwareLacksNote());
    notes += notFilled(set);
    const std::vector<FieldKey> changed = differences(set, readShown());
    apply(set);
    m_marks.mark(changed, m_window.week().shownDay());
    const QString loaded = tr("Sada parametrů je načtena, změněných polí: %1.\n"
                              "Do regulátoru se zapíše až tlačítky Zápis.")
                               .arg(changed.size());
    report(notes.isEmpty() ? loaded : loaded + QStringLiteral("\n\n") + notes.join(u'\n'),
           Prompts::Icon::Information);
}

void ParamSetCommands::CompareWithFile()
{
    auto file = askAndRead(tr("Porovnat se sadou parametrů"));
    if (!file)
        return;
    const QString note = dropTablesFirmwareLacks(file->second) ? firmwareLacksNote() : QString();
    const Shown shown = readShown();
    std::vector<SetCompareDialog::Difference> rows;
    for (const FieldKey& key : differences(file->second, shown)) {
        const QString label = m_fields.label(key);
        const QString name = WindowFields::name(key);
        const bool named = !WindowFields::isDay(key.table) && label != name;
        rows.push_back({m_fields.page(key), named ? QStringLiteral("%1 (%2)").arg(label, name) : label,
                        m_fields.text(key, file->second.record), shownText(key, shown)});
    }
    SetCompareDialog dialog(file->first, rows, note, &m_window);
    dialog.exec();
}

void ParamSetCommands::PrintReport()
{
    CommissioningReport report = CommissioningReport::fromWindow(m_ui, m_window.week().shownDay());
    const DeviceTexts texts = deviceTexts();
    report.deviceType = texts.type;
    report.deviceVersion = texts.version;
    ReportPreview preview(std::move(report), &m_window);
    preview.exec();
}

void ParamSetCommands::retranslate() const
{
    m_texts.retranslate();
}

void ParamSetCommands::parametersMatchRegulator() { m_marks.clearParameters(); }

void ParamSetCommands::weekMatchesRegulator() { m_marks.clearWeek(m_window.week().shownDay()); }

bool ParamSetCommands::mayReadOver()
{
    if (!m_marks.parametersPending() && !m_marks.weekPending())
        return true;
    const auto answer =
        prompts().message(tr("Hodnoty načtené ze souboru ještě nebyly zapsány do regulátoru.\n"
                             "Přečíst regulátor a načtené hodnoty zahodit?"),
                          tr("Dotaz"), Prompts::Icon::Question, Prompts::Buttons::YesNoDefaultNo, &m_window);
    return answer == Prompts::Answer::Yes;
}
