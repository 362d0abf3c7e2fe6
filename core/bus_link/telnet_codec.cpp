#include "telnet_codec.h"

#include <utility>

TelnetCodec::TelnetCodec(QList<uint8_t> offered, QList<uint8_t> asked)
{
    m_local.wanted = std::move(offered);
    m_remote.wanted = std::move(asked);
}

QByteArray TelnetCodec::opening()
{
    m_state = State::Data;
    m_sub.clear();
    m_answers.clear();
    m_finished.clear();
    QByteArray requests;
    open(m_local, kWill, requests);
    open(m_remote, kDo, requests);
    return requests;
}

void TelnetCodec::open(Side& side, uint8_t verb, QByteArray& requests)
{
    side.on.clear();
    side.awaiting = side.wanted;
    for (uint8_t option : side.wanted)
        requests.append(char(kIac)).append(char(verb)).append(char(option));
}

QByteArray TelnetCodec::escape(QByteArrayView data)
{
    QByteArray escaped;
    escaped.reserve(data.size());
    for (char byte : data) {
        escaped.append(byte);
        if (uint8_t(byte) == kIac)
            escaped.append(byte);
    }
    return escaped;
}

QByteArray TelnetCodec::subnegotiation(uint8_t option, QByteArrayView payload)
{
    const char opening[] = {char(kIac), char(kSb), char(option)};
    const char closing[] = {char(kIac), char(kSe)};
    return QByteArray(opening, sizeof opening) + escape(payload) + QByteArray(closing, sizeof closing);
}

QByteArray TelnetCodec::decode(QByteArrayView received)
{
    QByteArray data;
    for (char c : received) {
        const auto byte = uint8_t(c);
        switch (m_state) {
        case State::Data:
            if (byte == kIac)
                m_state = State::Command;
            else
                data.append(c);
            break;
        case State::Command:
            command(byte, data);
            break;
        case State::Option:
            negotiate(m_verb, byte);
            m_state = State::Data;
            break;
        case State::Sub:
            if (byte == kIac)
                m_state = State::SubCommand;
            else if (m_sub.size() < kSubLimit)
                m_sub.append(c);
            else
                m_state = State::Data;
            break;
        case State::SubCommand:
            subCommand(byte);
            break;
        }
    }
    return data;
}

void TelnetCodec::command(uint8_t byte, QByteArray& data)
{
    m_state = State::Data;
    if (byte == kIac) {
        data.append(char(kIac));
    } else if (byte == kSb) {
        m_sub.clear();
        m_state = State::Sub;
    } else if (byte >= kWill) {
        m_verb = byte;
        m_state = State::Option;
    }
    // Any other command (no operation, go ahead, ...) means nothing here.
}

void TelnetCodec::subCommand(uint8_t byte)
{
    if (byte == kIac) {
        m_sub.append(char(kIac));
        m_state = State::Sub;
        return;
    }
    // Anything but the end here is a broken subnegotiation: it is dropped.
    if (byte == kSe && !m_sub.isEmpty())
        m_finished.append(m_sub);
    m_sub.clear();
    m_state = State::Data;
}

void TelnetCodec::negotiate(uint8_t verb, uint8_t option)
{
    if (verb == kDo || verb == kDont)
        consider(m_local, verb == kDo, option, kWill, kWont);
    else
        consider(m_remote, verb == kWill, option, kDo, kDont);
}

// Answers only what changes an option's state, so that two sides never
// confirm each other in a loop.
void TelnetCodec::consider(Side& side, bool enable, uint8_t option, uint8_t yes, uint8_t no)
{
    const bool wasAwaited = side.awaiting.removeOne(option);
    if (!enable) {
        if (side.on.removeOne(option) && !wasAwaited)
            answer(no, option);
        return;
    }
    if (!side.wanted.contains(option)) {
        answer(no, option);
        return;
    }
    if (side.on.contains(option))
        return;
    side.on.append(option);
    if (!wasAwaited)
        answer(yes, option);
}

void TelnetCodec::answer(uint8_t verb, uint8_t option)
{
    m_answers.append(char(kIac)).append(char(verb)).append(char(option));
}

QByteArray TelnetCodec::takeAnswers()
{
    return std::exchange(m_answers, {});
}

QList<QByteArray> TelnetCodec::takeSubnegotiations()
{
    return std::exchange(m_finished, {});
}
