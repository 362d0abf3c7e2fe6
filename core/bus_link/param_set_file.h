#pragma once

#include "param_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <bitset>
#include <optional>
#include <span>
#include <variant>
#include <vector>

// A parameter set: the tuning of one regulator kept in a UTF-8 text file, to
// be loaded into the same regulator or another one of its kind.
//
//   KV36 PARAMETER SET 1
//   device_type=QZR 17
//   device_version=...
//   saved=2026-12-09T10:15:00+01:00
//
//   # Ekviterm
//   [0]
//   SP_0=75
//   SP20=35.5
//
// One section a table, one NAME=value line a field in the names `qzr17ctl
// read` prints; floats in the shortest form that reads back exactly, with a
// '.' whatever the locale. Blank lines and lines starting with '#' are
// ignored.
namespace param_set {

constexpr int kFormatVersion = 1;
constexpr int kAddressTable = 7;

// The tables a set holds, in file order: the parameter tables, the bus
// address (kept for the record only), the seven days.
std::span<const int> setTables();
// The order in which a set goes to a regulator: the settings window's write
// order without the address, then the days Monday to Sunday.
std::span<const int> loadOrder();

struct ParamSet {
    QString deviceType;
    QString deviceVersion;
    QDateTime saved;
    ParamRecord record{};
    std::bitset<kTableCount> tables; // the tables the set holds

    bool holds(int table) const { return table >= 0 && table < kTableCount && tables.test(table); }
};

// A set of every table of `record`, saved now.
ParamSet completeSet(const ParamRecord& record, const QString& deviceType, const QString& deviceVersion);

// Why a file was refused; line 0 when no line is to blame (the file itself).
struct SetError {
    int line = 0;
    QString reason;

    QString message() const;
};

using ReadResult = std::variant<ParamSet, SetError>;

// Strict: anything but a well-formed set of this format version whose every
// line is complete is refused, with the first offending line; so is a set
// without any table that a load could write.
ReadResult parseSet(QByteArrayView text);
ReadResult readSetFile(const QString& path);

QByteArray formatSet(const ParamSet& set);
// Through a temporary file that replaces the old one only when complete.
// Nothing when saved, else why not.
std::optional<QString> saveSetFile(const QString& path, const ParamSet& set);

// The tables of the load order that a regulator of that firmware has and
// the set lacks: a load leaves them as they are.
std::vector<int> lackingTables(const ParamSet& set, bool newFirmware);

// Whether the set was saved from another type of device than `deviceType`;
// false when either type is unknown.
bool isFromAnotherType(const ParamSet& set, const QString& deviceType);

// A field by its table and its position in the table's wire order.
struct FieldKey {
    int table;
    size_t index;

    bool operator==(const FieldKey&) const = default;
};

struct OutOfRange {
    FieldKey key;
    QString text; // "4.DSER=2000 (5 až 1000)"
};

// The first field of a held table that the regulator would refuse; a set
// with such a field could not be read back.
std::optional<OutOfRange> findOutOfRange(const ParamSet& set);

// The fields of the set's tables whose values differ in `other`. The bus
// address is left out: a set goes to a regulator at any address.
std::vector<FieldKey> differingFields(const ParamSet& set, const ParamRecord& other);

// Copies one table's fields.
void copyTable(int table, const ParamRecord& from, ParamRecord& to);

// The field's value as the file and `qzr17ctl read` write it: floats in the
// shortest form that reads back exactly, with a '.'; bytes signed.
QString formatValue(const FieldRef& field);

} // namespace param_set
