#include "telegram_meaning.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <array>
#include <optional>

namespace {

using Bytes = QByteArrayView;

constexpr uint8_t kSd1 = 0x10;
constexpr uint8_t kSd2 = 0x68;
constexpr uint8_t kEnd = 0x16;
constexpr uint8_t kFcRequestData = 0x6C;
constexpr uint8_t kFcSendData = 0x63;
constexpr uint8_t kFcStatus = 0x69;
constexpr uint8_t kFcData = 0x08;
constexpr uint8_t kFcPositive = 0x00;
constexpr qsizetype kSd1Length = 6;
constexpr qsizetype kSd2Framing = 6; // SD2, LE, LEr, SD2 before DA; FCS, ED after the data unit
constexpr int kLeastLe = 3;          // DA, SA and FC
constexpr uint8_t kBroadcast = 127;
constexpr int kTableReplyFraming = 9;
constexpr std::array<uint8_t, 21> kTableLengths{8,  10, 10, 12, 25, 5,  6,  1, 24, 24, 24,
                                                24, 24, 24, 24, 7,  18, 12, 6, 10, 2};

uint8_t byteAt(Bytes bytes, qsizetype index)
{
    return static_cast<uint8_t>(bytes[index]);
}

QString hex(uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

TelegramMeaning fine(const QString& text)
{
    return {text, false};
}
TelegramMeaning fault(const QString& text)
{
    return {text, true};
}

struct Frame {
    bool variable = false; // SD2
    uint8_t da = 0;
    uint8_t sa = 0;
    uint8_t fc = 0;
    Bytes unit; // the data unit of an SD2 telegram
};

struct Checked {
    std::optional<Frame> frame;
    QString fault;
};

Checked incomplete(qsizetype got, qsizetype whole)
{
    return {std::nullopt, QCoreApplication::translate("TelegramMeaning", "neúplný telegram (%1 z %2 bajtů)")
                              .arg(got)
                              .arg(whole)};
}

Checked checkEnd(Bytes bytes, qsizetype length, uint8_t sum, const Frame& frame)
{
    if (byteAt(bytes, length - 1) != kEnd)
        return {std::nullopt,
                QCoreApplication::translate("TelegramMeaning", "chybný koncový znak (%1, má být 16)")
                    .arg(hex(byteAt(bytes, length - 1)))};
    if (byteAt(bytes, length - 2) != sum) {
        return {std::nullopt,
                QCoreApplication::translate("TelegramMeaning", "chybný kontrolní součet (%1, má být %2)")
                    .arg(hex(byteAt(bytes, length - 2)), hex(sum))};
    }
    if (bytes.size() > length)
        return {std::nullopt, QCoreApplication::translate("TelegramMeaning", "za telegramem ještě %1 bajtů")
                                  .arg(bytes.size() - length)};
    return {frame, QString()};
}

Checked checkSd1(Bytes bytes)
{
    if (bytes.size() < kSd1Length)
        return incomplete(bytes.size(), kSd1Length);
    const Frame frame{false, byteAt(bytes, 1), byteAt(bytes, 2), byteAt(bytes, 3), {}};
    return checkEnd(bytes, kSd1Length, static_cast<uint8_t>(frame.da + frame.sa + frame.fc), frame);
}

Checked checkSd2(Bytes bytes)
{
    if (bytes.size() < 4)
        return incomplete(bytes.size(), kSd2Framing + kLeastLe);
    const uint8_t le = byteAt(bytes, 1);
    if (byteAt(bytes, 2) != le)
        return {std::nullopt, QStringLiteral("LE ≠ LEr (%1 ≠ %2)").arg(hex(le), hex(byteAt(bytes, 2)))};
    if (byteAt(bytes, 3) != kSd2)
        return {std::nullopt,
                QCoreApplication::translate("TelegramMeaning", "chybný druhý počáteční znak (%1, má být 68)")
                    .arg(hex(byteAt(bytes, 3)))};
    if (le < kLeastLe)
        return {std::nullopt,
                QCoreApplication::translate("TelegramMeaning", "příliš malé LE (%1)").arg(hex(le))};
    const qsizetype length = le + kSd2Framing;
    if (bytes.size() < length)
        return incomplete(bytes.size(), length);
    uint8_t sum = 0;
    for (qsizetype i = 4; i < 4 + le; ++i)
        sum = static_cast<uint8_t>(sum + byteAt(bytes, i));
    const Frame frame{true, byteAt(bytes, 4), byteAt(bytes, 5), byteAt(bytes, 6),
                      bytes.sliced(7, le - kLeastLe)};
    return checkEnd(bytes, length, sum, frame);
}

Checked checkFrame(Bytes bytes)
{
    if (bytes.isEmpty())
        return {std::nullopt, QCoreApplication::translate("TelegramMeaning", "žádné bajty")};
    if (byteAt(bytes, 0) == kSd1)
        return checkSd1(bytes);
    if (byteAt(bytes, 0) == kSd2)
        return checkSd2(bytes);
    return {std::nullopt, QCoreApplication::translate("TelegramMeaning", "bajty, které nejsou telegramem")};
}

QString addresses(const Frame& frame)
{
    const QString da = frame.da == kBroadcast ? QCoreApplication::translate("TelegramMeaning", "127 (všem)")
                                              : QString::number(frame.da);
    return QStringLiteral(", DA %1, SA %2").arg(da).arg(frame.sa);
}

// A request as the regulator reads it: the service, and for table transfers
// the table and the length the request gives.
struct Request {
    enum class Kind { Probe, ReadTable, WriteTable, DeviceType, DeviceVersion, StoreEeprom };
    Kind kind;
    Frame frame;
    int table = 0;
    int length = 0;
};

std::optional<Request::Kind> serviceKind(uint8_t fc, uint8_t service)
{
    using Kind = Request::Kind;
    if (fc == kFcRequestData && service == 0)
        return Kind::DeviceType;
    if (fc == kFcRequestData && service == 1)
        return Kind::ReadTable;
    if (fc == kFcRequestData && service == 4)
        return Kind::DeviceVersion;
    if (fc == kFcSendData && service == 2)
        return Kind::WriteTable;
    if (fc == kFcSendData && service == 6)
        return Kind::StoreEeprom;
    return std::nullopt;
}

std::optional<Request> requestOf(const Frame& frame)
{
    if (!frame.variable)
        return frame.fc == kFcStatus ? std::optional(Request{Request::Kind::Probe, frame}) : std::nullopt;
    if (frame.unit.isEmpty())
        return std::nullopt;
    const auto kind = serviceKind(frame.fc, byteAt(frame.unit, 0));
    if (!kind)
        return std::nullopt;
    Request request{*kind, frame};
    const bool transfer = *kind == Request::Kind::ReadTable || *kind == Request::Kind::WriteTable;
    if (transfer && frame.unit.size() < 4)
        return std::nullopt;
    if (transfer) {
        request.table = byteAt(frame.unit, 1);
        request.length = byteAt(frame.unit, 2);
    }
    return request;
}

std::optional<Request> requestOf(Bytes bytes)
{
    const Checked checked = checkFrame(bytes);
    return checked.frame ? requestOf(*checked.frame) : std::nullopt;
}

QString requestName(const Request& request)
{
    switch (request.kind) {
    case Request::Kind::Probe:
        return QCoreApplication::translate("TelegramMeaning", "SD1 dotaz na stav");
    case Request::Kind::ReadTable:
        return QCoreApplication::translate("TelegramMeaning", "čtení tabulky %1").arg(request.table);
    case Request::Kind::WriteTable:
        return QCoreApplication::translate("TelegramMeaning", "zápis tabulky %1").arg(request.table);
    case Request::Kind::DeviceType:
        return QCoreApplication::translate("TelegramMeaning", "typ zařízení");
    case Request::Kind::DeviceVersion:
        return QCoreApplication::translate("TelegramMeaning", "verze zařízení");
    case Request::Kind::StoreEeprom:
        return QCoreApplication::translate("TelegramMeaning", "uložení do EEPROM");
    }
    return QString();
}

// What the program could get wrong in a request that is still a telegram.
QString requestMistake(const Request& request)
{
    const bool transfer =
        request.kind == Request::Kind::ReadTable || request.kind == Request::Kind::WriteTable;
    if (!transfer)
        return request.frame.variable && request.frame.unit.size() != 1
                   ? QCoreApplication::translate("TelegramMeaning", "%1 bajtů za kódem služby, má být 0")
                         .arg(request.frame.unit.size() - 1)
                   : QString();
    if (request.table >= static_cast<int>(kTableLengths.size()))
        return QCoreApplication::translate("TelegramMeaning", "tabulka %1 neexistuje").arg(request.table);
    const int length = kTableLengths[static_cast<size_t>(request.table)];
    if (request.length != length)
        return QCoreApplication::translate("TelegramMeaning", "délka %1, tabulka má %2 bajtů")
            .arg(request.length)
            .arg(length);
    if (byteAt(request.frame.unit, 3) != 0)
        return QCoreApplication::translate("TelegramMeaning", "čtvrtý bajt %1, má být 00")
            .arg(hex(byteAt(request.frame.unit, 3)));
    const qsizetype data = request.frame.unit.size() - 4;
    const qsizetype expected = request.kind == Request::Kind::WriteTable ? length : 0;
    if (data != expected)
        return QCoreApplication::translate("TelegramMeaning", "%1 bajtů dat, má být %2")
            .arg(data)
            .arg(expected);
    return QString();
}

TelegramMeaning describeRequest(const Request& request)
{
    const QString text = requestName(request) + addresses(request.frame);
    const QString mistake = requestMistake(request);
    return mistake.isEmpty() ? fine(text) : fault(text + QStringLiteral(": ") + mistake);
}

QString decodedText(Bytes text)
{
    const qsizetype end = text.indexOf('\0');
    QStringDecoder decoder("windows-1250");
    return decoder.decode(end < 0 ? text : text.first(end));
}

// A telegram seen on its own: a request, or a reply to an unknown request.
TelegramMeaning describeAlone(const Frame& frame)
{
    if (const auto request = requestOf(frame))
        return describeRequest(*request);
    if (frame.variable && frame.fc == kFcData)
        return fine(QCoreApplication::translate("TelegramMeaning", "data (%1 bajtů)").arg(frame.unit.size()) +
                    addresses(frame));
    if (frame.variable && (frame.fc == kFcRequestData || frame.fc == kFcSendData)) {
        const QString service = frame.unit.isEmpty() ? QCoreApplication::translate("TelegramMeaning", "žádná")
                                                     : QString::number(byteAt(frame.unit, 0));
        return fault(QCoreApplication::translate("TelegramMeaning", "neznámý požadavek (FC %1, služba %2)")
                         .arg(hex(frame.fc), service) +
                     addresses(frame));
    }
    if (frame.variable)
        return fault(
            QCoreApplication::translate("TelegramMeaning", "neznámý kód funkce %1").arg(hex(frame.fc)) +
            addresses(frame));
    if (frame.fc == kFcPositive)
        return fine(QCoreApplication::translate("TelegramMeaning", "kladné potvrzení") + addresses(frame));
    return fault(QCoreApplication::translate("TelegramMeaning", "odmítnutí, kód %1").arg(frame.fc) +
                 addresses(frame));
}

TelegramMeaning describeData(const Frame& frame, const Request& request)
{
    if (frame.fc != kFcData)
        return fault(QCoreApplication::translate("TelegramMeaning", "chybný kód funkce (%1, má být 08)")
                         .arg(hex(frame.fc)));
    const Bytes data = frame.unit;
    switch (request.kind) {
    case Request::Kind::ReadTable:
        if (data.size() != request.length) {
            return fault(
                QCoreApplication::translate("TelegramMeaning", "data tabulky %1: %2 bajtů, má být %3")
                    .arg(request.table)
                    .arg(data.size())
                    .arg(request.length) +
                addresses(frame));
        }
        return fine(QCoreApplication::translate("TelegramMeaning", "data tabulky %1 (%2 bajtů)")
                        .arg(request.table)
                        .arg(data.size()) +
                    addresses(frame));
    case Request::Kind::DeviceType:
        return fine(
            QCoreApplication::translate("TelegramMeaning", "typ zařízení „%1“").arg(decodedText(data)) +
            addresses(frame));
    case Request::Kind::DeviceVersion:
        return fine(
            QCoreApplication::translate("TelegramMeaning", "verze zařízení „%1“").arg(decodedText(data)) +
            addresses(frame));
    default:
        return fault(QCoreApplication::translate("TelegramMeaning", "data (%1 bajtů) místo potvrzení")
                         .arg(data.size()) +
                     addresses(frame));
    }
}

TelegramMeaning describeReply(const Frame& frame, const Request& request)
{
    const Frame& asked = request.frame;
    if (asked.da != kBroadcast && (frame.da != asked.sa || frame.sa != asked.da)) {
        return fault(QCoreApplication::translate("TelegramMeaning",
                                                 "odpověď z jiné adresy (DA %1, SA %2; čekáno DA %3, SA %4)")
                         .arg(frame.da)
                         .arg(frame.sa)
                         .arg(asked.sa)
                         .arg(asked.da));
    }
    if (frame.variable)
        return describeData(frame, request);
    if (request.kind == Request::Kind::Probe) {
        return frame.fc == kFcPositive
                   ? fine(QCoreApplication::translate("TelegramMeaning", "SD1 odpověď na stav: připravena") +
                          addresses(frame))
                   : fault(QCoreApplication::translate("TelegramMeaning", "SD1 odpověď na stav, kód %1")
                               .arg(frame.fc) +
                           addresses(frame));
    }
    return describeAlone(frame);
}

} // namespace

namespace telegram_meaning {

int awaitedReplyLength(QByteArrayView request)
{
    const auto asked = requestOf(request);
    if (!asked)
        return 0;
    switch (asked->kind) {
    case Request::Kind::ReadTable:
        return asked->frame.da == kBroadcast ? 0 : asked->length + kTableReplyFraming;
    case Request::Kind::DeviceType:
    case Request::Kind::DeviceVersion:
        return kOpenEndedReply;
    default:
        return static_cast<int>(kSd1Length);
    }
}

int replyTimeoutMs(QByteArrayView request)
{
    return SerialLine::kReadTotalConstantMs + SerialLine::kReadTotalPerByteMs * awaitedReplyLength(request);
}

} // namespace telegram_meaning

TelegramMeaning describeTelegram(QByteArrayView bytes, QByteArrayView request)
{
    using namespace telegram_meaning;
    const auto asked = request.isEmpty() ? std::nullopt : requestOf(request);
    if (asked && bytes.isEmpty())
        return fault(QCoreApplication::translate("TelegramMeaning", "žádná odpověď v časovém limitu (%1 ms)")
                         .arg(replyTimeoutMs(request)));
    const int awaited = asked ? awaitedReplyLength(request) : 0;
    if (awaited != kOpenEndedReply && bytes.size() < awaited)
        return fault(QCoreApplication::translate("TelegramMeaning", "krátká odpověď (%1 z %2 bajtů)")
                         .arg(bytes.size())
                         .arg(awaited));
    const Checked checked = checkFrame(bytes);
    if (!checked.frame)
        return fault(checked.fault);
    return asked ? describeReply(*checked.frame, *asked) : describeAlone(*checked.frame);
}

QString trafficLine(SerialLine::Direction direction, qint64 milliseconds, QByteArrayView bytes,
                    const QString& meaning)
{
    QString line = direction == SerialLine::Direction::Tx ? QStringLiteral("TX ") : QStringLiteral("RX ");
    line += QString::number(milliseconds);
    if (!bytes.isEmpty())
        line += u' ' + QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
    return line + QStringLiteral(" | ") + meaning;
}
