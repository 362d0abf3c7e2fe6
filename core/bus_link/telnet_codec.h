#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>

// Telnet as a serial server speaks it: bus bytes with every 0xFF doubled,
// option negotiation and subnegotiations mixed in. The decoder keeps its
// place between chunks, so a command split across two reads is still
// recognised and never taken for data.
class TelnetCodec {
public:
    static constexpr uint8_t kIac = 0xFF;
    static constexpr uint8_t kDont = 0xFE;
    static constexpr uint8_t kDo = 0xFD;
    static constexpr uint8_t kWont = 0xFC;
    static constexpr uint8_t kWill = 0xFB;
    static constexpr uint8_t kSb = 0xFA;
    static constexpr uint8_t kSe = 0xF0;
    static constexpr uint8_t kNop = 0xF1;
    static constexpr uint8_t kBinary = 0;
    static constexpr uint8_t kSuppressGoAhead = 3;
    static constexpr uint8_t kComPortOption = 44;

    // The options this side offers (WILL) and asks of the peer (DO); any
    // other the peer proposes is refused.
    TelnetCodec(QList<uint8_t> offered, QList<uint8_t> asked);

    // Starts a session afresh: the offers and requests that open it.
    QByteArray opening();
    static QByteArray escape(QByteArrayView data);
    static QByteArray subnegotiation(uint8_t option, QByteArrayView payload);

    // The bus bytes among the received ones. Answers to the peer's requests
    // gather for takeAnswers(), finished subnegotiations (option byte first)
    // for takeSubnegotiations().
    QByteArray decode(QByteArrayView received);
    QByteArray takeAnswers();
    QList<QByteArray> takeSubnegotiations();

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    // A subnegotiation never closed would swallow the data for good.
    static constexpr qsizetype kSubLimit = 256;
    // Both directions of negotiation: what is wanted, asked and not yet
    // answered, and in force.
    struct Side {
        QList<uint8_t> wanted;
        QList<uint8_t> awaiting;
        QList<uint8_t> on;
    };

    void command(uint8_t byte, QByteArray& data);
    void subCommand(uint8_t byte);
    void negotiate(uint8_t verb, uint8_t option);
    void consider(Side& side, bool enable, uint8_t option, uint8_t yes, uint8_t no);
    void open(Side& side, uint8_t verb, QByteArray& requests);
    void answer(uint8_t verb, uint8_t option);

    Side m_local;
    Side m_remote;
    State m_state = State::Data;
    uint8_t m_verb = 0;
    QByteArray m_sub;
    QByteArray m_answers;
    QList<QByteArray> m_finished;
};
