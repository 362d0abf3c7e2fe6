#include "param_set_file.h"

#include "firmware.h"
#include "param_ranges.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace param_set {
namespace {

constexpr std::array kSetTables{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 19, 20};
constexpr std::array kLoadOrder{0, 1, 2, 3, 4, 5, 6, 17, 19, 20, 8, 9, 10, 11, 12, 13, 14};
constexpr qint64 kLargestFile = 1 << 20; // a set is a few kilobytes

const QByteArray kMagic = QByteArrayLiteral("KV36 PARAMETER SET");
const QString kTypeKey = QStringLiteral("device_type");
const QString kVersionKey = QStringLiteral("device_version");
const QString kSavedKey = QStringLiteral("saved");

QString tableTitle(int table)
{
    switch (table) {
    case 0: return QStringLiteral("Ekviterm");
    case 1: return QStringLiteral("Snímač 1");
    case 2: return QStringLiteral("Snímač 2");
    case 3: return QStringLiteral("Alarm");
    case 4: return QStringLiteral("Regulace ONOF a REGO");
    case 5: return QStringLiteral("Error");
    case 6: return QStringLiteral("Ostatní");
    case kAddressTable: return QStringLiteral("Adresa regulátoru (jen pro záznam, do regulátoru se nezapisuje)");
    case 8: return QStringLiteral("Pondělí");
    case 9: return QStringLiteral("Úterý");
    case 10: return QStringLiteral("Středa");
    case 11: return QStringLiteral("Čtvrtek");
    case 12: return QStringLiteral("Pátek");
    case 13: return QStringLiteral("Sobota");
    case 14: return QStringLiteral("Neděle");
    case 17: return QStringLiteral("PID");
    case 19: return QStringLiteral("DACO");
    default: return QStringLiteral("Vstupy alarmů");
    }
}

bool isSetTable(int table) { return std::find(kSetTables.begin(), kSetTables.end(), table) != kSetTables.end(); }

// A device text on one line: the format has no escapes.
QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text;
}

QString fieldPath(int table, const FieldRef& field)
{
    return QStringLiteral("%1.%2").arg(table).arg(QLatin1String(field.name));
}

QString rangeText(const FieldRange& range)
{
    return QCoreApplication::translate("ParamSetFile", "%1 až %2")
        .arg(QString::number(range.lowest), QString::number(range.highest));
}

// A float's text in the file's syntax: nothing when it is no number. A value
// nearer to zero than the smallest float is stored as zero, one beyond the
// largest as infinity, which no range admits.
std::optional<float> floatOf(const char* first, const char* last)
{
    float value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last || (error != std::errc() && error != std::errc::result_out_of_range))
        return std::nullopt;
    if (error == std::errc())
        return value;
    // Out of the float's range: QLocale gives zero for an underflow and an
    // infinity for an overflow, which is all that is asked of it here.
    const double wide = QLocale::c().toDouble(QString::fromLatin1(first, last - first));
    return std::abs(wide) < 1 ? 0.0f : std::numeric_limits<float>::infinity();
}

// Why `text` cannot be the value of `field`, or nothing when it was stored.
std::optional<QString> storeText(int table, size_t index, const FieldRef& field, const QString& text)
{
    const std::string bytes = text.toStdString();
    const char* first = bytes.data();
    const char* last = first + bytes.size();
    const QString path = fieldPath(table, field);
    const QString notNumber =
        QCoreApplication::translate("ParamSetFile", "hodnota \"%1\" pole %2 není číslo").arg(text, path);
    const FieldRange range = *fieldRange(table, index);
    const QString outside =
        std::isinf(range.lowest)
            ? QCoreApplication::translate("ParamSetFile", "hodnota %1 pole %2 není konečné číslo")
                  .arg(text, path)
            : QCoreApplication::translate("ParamSetFile", "hodnota %1 pole %2 je mimo rozsah %3")
                  .arg(text, path, rangeText(range));
    return std::visit([&](auto* target) -> std::optional<QString> {
        using T = std::remove_pointer_t<decltype(target)>;
        T value{};
        if constexpr (std::is_same_v<T, float>) {
            const std::optional<float> number = floatOf(first, last);
            if (!number)
                return notNumber;
            value = *number;
        } else {
            long long whole = 0;
            const auto [end, error] = std::from_chars(first, last, whole);
            if (end != last || (error != std::errc() && error != std::errc::result_out_of_range))
                return notNumber;
            if (error == std::errc::result_out_of_range || whole < range.lowest || whole > range.highest)
                return outside;
            value = static_cast<T>(whole);
        }
        *target = value;
        return isInRange(field, range) ? std::nullopt : std::optional<QString>(outside);
    }, field.value);
}

class Reader {
public:
    ReadResult read(QByteArrayView text);

private:
    std::optional<SetError> readLine(const QString& line);
    std::optional<SetError> readHeaderItem(const QString& name, const QString& value);
    std::optional<SetError> startSection(const QString& line);
    std::optional<SetError> readField(const QString& name, const QString& value);
    std::optional<SetError> endSection() const;
    SetError error(const QString& reason) const { return {m_line, reason}; }

    ParamSet m_set;
    int m_line = 0;
    int m_table = -1; // the section being read; -1 in the header
    int m_sectionLine = 0;
    std::bitset<kMaxFieldsPerTable> m_fieldsSeen;
    std::bitset<3> m_headerSeen;
};

std::optional<SetError> checkMagic(const QByteArray& line)
{
    const SetError notASet{1,
                           QCoreApplication::translate("ParamSetFile", "soubor není sada parametrů KV-36")};
    if (!line.startsWith(kMagic + ' '))
        return notASet;
    const QByteArray version = line.mid(kMagic.size() + 1).trimmed();
    int number = 0;
    const auto [end, error] = std::from_chars(version.data(), version.data() + version.size(), number);
    if (error != std::errc() || end != version.data() + version.size() || version.isEmpty())
        return notASet;
    if (number != kFormatVersion)
        return SetError{1, QCoreApplication::translate("ParamSetFile",
                                                       "sada je ve formátu verze %1, program čte verzi %2")
                               .arg(QString::fromLatin1(version))
                               .arg(kFormatVersion)};
    return std::nullopt;
}

ReadResult Reader::read(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    if (text.isEmpty())
        return *checkMagic({});
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf('\n', start);
        QByteArrayView bytes = text.sliced(start, (end < 0 ? text.size() : end) - start);
        start = end < 0 ? text.size() : end + 1;
        ++m_line;
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        if (m_line == 1) {
            if (auto refused = checkMagic(bytes.toByteArray()))
                return *refused;
        }
        // The writer ends every line: a file whose last line has no end was cut short.
        if (end < 0)
            return error(QCoreApplication::translate("ParamSetFile", "řádek nemá konec, soubor je useknutý"));
        if (m_line == 1)
            continue;
        // Stateless: a sequence cut at the line's end is an error, not a wait for more.
        QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = fromUtf8(bytes);
        if (fromUtf8.hasError())
            return error(QCoreApplication::translate("ParamSetFile", "text není v kódování UTF-8"));
        if (auto refused = readLine(line))
            return *refused;
    }
    if (auto refused = endSection())
        return *refused;
    std::bitset<kTableCount> loadable = m_set.tables;
    loadable.reset(kAddressTable);
    if (loadable.none())
        return error(
            QCoreApplication::translate("ParamSetFile", "sada nemá žádnou tabulku parametrů ani dne"));
    return m_set;
}

std::optional<SetError> Reader::readLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return std::nullopt;
    if (trimmed.startsWith(u'['))
        return startSection(trimmed);
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return error(
            QCoreApplication::translate("ParamSetFile", "čeká se JMÉNO=hodnota, ne \"%1\"").arg(trimmed));
    const QString name = trimmed.left(equals).trimmed();
    const QString value = trimmed.mid(equals + 1).trimmed();
    return m_table < 0 ? readHeaderItem(name, value) : readField(name, value);
}

std::optional<SetError> Reader::readHeaderItem(const QString& name, const QString& value)
{
    const QStringList keys{kTypeKey, kVersionKey, kSavedKey};
    const qsizetype key = keys.indexOf(name);
    if (key < 0)
        return error(
            QCoreApplication::translate("ParamSetFile", "neznámá položka hlavičky \"%1\"").arg(name));
    if (m_headerSeen.test(static_cast<size_t>(key)))
        return error(QCoreApplication::translate("ParamSetFile", "položka %1 je uvedena podruhé").arg(name));
    m_headerSeen.set(static_cast<size_t>(key));
    if (name == kTypeKey) {
        m_set.deviceType = value;
    } else if (name == kVersionKey) {
        m_set.deviceVersion = value;
    } else {
        m_set.saved = QDateTime::fromString(value, Qt::ISODate);
        if (!m_set.saved.isValid())
            return error(
                QCoreApplication::translate("ParamSetFile", "čas uložení \"%1\" není platný").arg(value));
    }
    return std::nullopt;
}

std::optional<SetError> Reader::startSection(const QString& line)
{
    if (auto refused = endSection())
        return refused;
    const QString inner = line.endsWith(u']') ? line.mid(1, line.size() - 2).trimmed() : QString();
    const std::string digits = inner.toStdString();
    int table = -1;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), table);
    if (failure != std::errc() || end != digits.data() + digits.size() || !isSetTable(table))
        return error(QCoreApplication::translate("ParamSetFile", "neznámý oddíl \"%1\"").arg(line));
    if (m_set.holds(table))
        return error(
            QCoreApplication::translate("ParamSetFile", "tabulka %1 je v souboru podruhé").arg(table));
    m_set.tables.set(static_cast<size_t>(table));
    m_table = table;
    m_sectionLine = m_line;
    m_fieldsSeen.reset();
    return std::nullopt;
}

std::optional<SetError> Reader::readField(const QString& name, const QString& value)
{
    const TableFields layout(m_table, m_set.record);
    const auto fields = layout.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (name != QLatin1String(fields[i].name))
            continue;
        if (m_fieldsSeen.test(i))
            return error(QCoreApplication::translate("ParamSetFile", "pole %1 je uvedeno podruhé")
                             .arg(fieldPath(m_table, fields[i])));
        m_fieldsSeen.set(i);
        if (auto refused = storeText(m_table, i, fields[i], value))
            return error(*refused);
        return std::nullopt;
    }
    return error(
        QCoreApplication::translate("ParamSetFile", "tabulka %1 nemá pole \"%2\"").arg(m_table).arg(name));
}

std::optional<SetError> Reader::endSection() const
{
    if (m_table < 0)
        return std::nullopt;
    ParamRecord scratch;
    const TableFields layout(m_table, scratch);
    const auto fields = layout.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!m_fieldsSeen.test(i))
            return SetError{m_sectionLine,
                            QCoreApplication::translate("ParamSetFile", "tabulce %1 chybí pole %2")
                                .arg(m_table)
                                .arg(QLatin1String(fields[i].name))};
    }
    return std::nullopt;
}

void appendTable(QByteArray& out, int table, const ParamRecord& record)
{
    ParamRecord source = record;
    const TableFields layout(table, source);
    out += "\n# " + tableTitle(table).toUtf8() + "\n[" + QByteArray::number(table) + "]\n";
    for (const FieldRef& field : layout.fields())
        out += QByteArray(field.name) + '=' + formatValue(field).toLatin1() + '\n';
}

// A save killed before its commit leaves its temporary file "<name>.XXXXXX"
// beside the target where the file system has no unnamed temporary files;
// the next save of the same target removes it.
void removeStaleTemporaries(const QString& path)
{
    const QFileInfo target(path);
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[0-9A-Za-z]{6}$").arg(QRegularExpression::escape(target.fileName())));
    QDir directory = target.absoluteDir();
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            directory.remove(name);
    }
}

} // namespace

std::span<const int> setTables() { return kSetTables; }

std::span<const int> loadOrder() { return kLoadOrder; }

ParamSet completeSet(const ParamRecord& record, const QString& deviceType, const QString& deviceVersion)
{
    ParamSet set{deviceType, deviceVersion, QDateTime::currentDateTime(), record, {}};
    for (const int table : kSetTables)
        set.tables.set(static_cast<size_t>(table));
    return set;
}

QString SetError::message() const
{
    return line > 0 ? QCoreApplication::translate("ParamSetFile", "Řádek %1: %2").arg(line).arg(reason)
                    : reason;
}

ReadResult parseSet(QByteArrayView text) { return Reader().read(text); }

ReadResult readSetFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SetError{
            0,
            QCoreApplication::translate("ParamSetFile", "Soubor nelze otevřít: %1").arg(file.errorString())};
    if (file.size() > kLargestFile)
        return SetError{
            0, QCoreApplication::translate("ParamSetFile", "Soubor je na sadu parametrů příliš velký")};
    return parseSet(file.read(kLargestFile + 1));
}

QByteArray formatSet(const ParamSet& set)
{
    QByteArray out = kMagic + ' ' + QByteArray::number(kFormatVersion) + '\n';
    out += kTypeKey.toLatin1() + '=' + oneLine(set.deviceType).toUtf8() + '\n';
    out += kVersionKey.toLatin1() + '=' + oneLine(set.deviceVersion).toUtf8() + '\n';
    // With its offset from UTC, so that the time means the same anywhere.
    const QDateTime saved = set.saved.toOffsetFromUtc(set.saved.offsetFromUtc());
    if (saved.isValid())
        out += kSavedKey.toLatin1() + '=' + saved.toString(Qt::ISODate).toLatin1() + '\n';
    for (const int table : kSetTables) {
        if (set.holds(table))
            appendTable(out, table, set.record);
    }
    return out;
}

std::optional<QString> saveSetFile(const QString& path, const ParamSet& set)
{
    const QByteArray bytes = formatSet(set);
    removeStaleTemporaries(path);
    QSaveFile file(path);
    const auto failed = [&path](const QString& why) {
        return QCoreApplication::translate("ParamSetFile", "Soubor %1 nelze uložit: %2").arg(path, why);
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    // A full disk can let commit() succeed after a failed buffered write.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        file.commit();
        return failed(why);
    }
    if (!file.commit())
        return failed(file.errorString());
    if (QFileInfo(path).size() != bytes.size())
        return failed(QCoreApplication::translate("ParamSetFile", "soubor na disku nemá celou délku"));
    return std::nullopt;
}

std::vector<int> lackingTables(const ParamSet& set, bool newFirmware)
{
    std::vector<int> lacking;
    for (const int table : kLoadOrder) {
        if (!set.holds(table) && firmware::hasTable(table, newFirmware))
            lacking.push_back(table);
    }
    return lacking;
}

bool isFromAnotherType(const ParamSet& set, const QString& deviceType)
{
    const QString saved = set.deviceType.trimmed();
    const QString connected = deviceType.trimmed();
    return !saved.isEmpty() && !connected.isEmpty() && saved != connected;
}

std::optional<OutOfRange> findOutOfRange(const ParamSet& set)
{
    ParamRecord record = set.record;
    for (const int table : kSetTables) {
        if (!set.holds(table))
            continue;
        const TableFields layout(table, record);
        const auto fields = layout.fields();
        for (size_t i = 0; i < fields.size(); ++i) {
            const FieldRange range = *fieldRange(table, i);
            if (!isInRange(fields[i], range)) {
                const QString text = QStringLiteral("%1=%2 (%3)").arg(fieldPath(table, fields[i]), formatValue(fields[i]), rangeText(range));
                return OutOfRange{{table, i}, text};
            }
        }
    }
    return std::nullopt;
}

std::vector<FieldKey> differingFields(const ParamSet& set, const ParamRecord& other)
{
    ParamRecord mine = set.record;
    ParamRecord theirs = other;
    std::vector<FieldKey> differing;
    for (const int table : kSetTables) {
        if (!set.holds(table) || table == kAddressTable)
            continue;
        const TableFields a(table, mine);
        const TableFields b(table, theirs);
        for (size_t i = 0; i < a.fields().size(); ++i) {
            const bool same = std::visit([&b, i](auto* value) {
                return *value == *std::get<decltype(value)>(b.fields()[i].value);
            }, a.fields()[i].value);
            if (!same)
                differing.push_back({table, i});
        }
    }
    return differing;
}

void copyTable(int table, const ParamRecord& from, ParamRecord& to)
{
    ParamRecord source = from;
    const TableFields a(table, source);
    const TableFields b(table, to);
    for (size_t i = 0; i < a.fields().size(); ++i) {
        std::visit([&b, i](auto* value) { *std::get<decltype(value)>(b.fields()[i].value) = *value; },
                   a.fields()[i].value);
    }
}

QString formatValue(const FieldRef& field)
{
    return std::visit([](auto* value) -> QString {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, float>) {
            std::array<char, 32> text{};
            const auto result = std::to_chars(text.data(), text.data() + text.size(), *value);
            return QString::fromLatin1(text.data(), result.ptr - text.data());
        } else {
            return QString::number(static_cast<int>(*value));
        }
    }, field.value);
}

} // namespace param_set
