// The traffic monitor's decoder: every telegram kind, every failure kind in
// words, and random bytes of every length.
#include "telegram_meaning.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray bytes(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// Requests and replies with DA 1, SA 0 for the regulator at address 1.
const char* const kReadTable0 = "68 07 07 68 01 00 6C 01 00 08 00 76 16";
const char* const kReadTable16 = "68 07 07 68 01 00 6C 01 10 12 00 90 16";
const char* const kWriteTable0 = "68 0F 0F 68 01 00 63 02 00 08 00 42 A0 00 00 41 A0 00 00 31 16";
const char* const kDeviceType = "68 04 04 68 01 00 6C 00 6D 16";
const char* const kProbe = "10 01 00 69 6A 16";
const char* const kTable0Reply = "68 0B 0B 68 00 01 08 42 A0 00 00 41 A0 00 00 CC 16";

} // namespace

class TestTelegramMeaning : public QObject {
    Q_OBJECT

private slots:
    void describesEveryKind_data()
    {
        QTest::addColumn<QByteArray>("telegram");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<bool>("fault");
        const QByteArray none;

        QTest::newRow("read request") << bytes(kReadTable0) << none << "čtení tabulky 0, DA 1, SA 0" << false;
        QTest::newRow("read to everyone") << bytes("68 07 07 68 7F 00 6C 01 10 12 00 0E 16") << none
                                          << "čtení tabulky 16, DA 127 (všem), SA 0" << false;
        QTest::newRow("write request")
            << bytes(kWriteTable0) << none << "zápis tabulky 0, DA 1, SA 0" << false;
        QTest::newRow("store to EEPROM")
            << bytes("68 04 04 68 01 00 63 06 6A 16") << none << "uložení do EEPROM, DA 1, SA 0" << false;
        QTest::newRow("device type") << bytes(kDeviceType) << none << "typ zařízení, DA 1, SA 0" << false;
        QTest::newRow("device version")
            << bytes("68 04 04 68 01 00 6C 04 71 16") << none << "verze zařízení, DA 1, SA 0" << false;
        QTest::newRow("status request") << bytes(kProbe) << none << "SD1 dotaz na stav, DA 1, SA 0" << false;
        QTest::newRow("table reply") << bytes(kTable0Reply) << bytes(kReadTable0)
                                     << "data tabulky 0 (8 bajtů), DA 0, SA 1" << false;
        QTest::newRow("reply of an unknown request")
            << bytes(kTable0Reply) << none << "data (8 bajtů), DA 0, SA 1" << false;
        QTest::newRow("device type reply")
            << bytes("68 0D 0D 68 00 01 08 52 65 67 75 6C E1 74 6F 72 00 3E 16") << bytes(kDeviceType)
            << "typ zařízení „Regulátor“, DA 0, SA 1" << false;
        QTest::newRow("status reply") << bytes("10 00 01 00 01 16") << bytes(kProbe)
                                      << "SD1 odpověď na stav: připravena, DA 0, SA 1" << false;
        QTest::newRow("positive acknowledgement")
            << bytes("10 00 01 00 01 16") << bytes(kWriteTable0) << "kladné potvrzení, DA 0, SA 1" << false;
        QTest::newRow("refusal") << bytes("10 00 01 02 03 16") << bytes(kWriteTable0)
                                 << "odmítnutí, kód 2, DA 0, SA 1" << true;

        QTest::newRow("no reply to a table read")
            << none << bytes(kReadTable16) << "žádná odpověď v časovém limitu (554 ms)" << true;
        QTest::newRow("no reply to a text read")
            << none << bytes(kDeviceType) << "žádná odpověď v časovém limitu (1010 ms)" << true;
        QTest::newRow("short reply") << bytes("68 15 15 68 00 01 08 41 B4 00") << bytes(kReadTable16)
                                     << "krátká odpověď (10 z 27 bajtů)" << true;
        QTest::newRow("bad checksum")
            << bytes("68 0B 0B 68 00 01 08 42 A0 00 00 41 A0 00 00 CD 16") << bytes(kReadTable0)
            << "chybný kontrolní součet (CD, má být CC)" << true;
        QTest::newRow("wrong end byte")
            << bytes("68 0B 0B 68 00 01 08 42 A0 00 00 41 A0 00 00 CC 00") << bytes(kReadTable0)
            << "chybný koncový znak (00, má být 16)" << true;
        QTest::newRow("LE and LEr differ") << bytes("68 0B 0C 68 00 01 08 42 A0 00 00 41 A0 00 00 CC 16")
                                           << bytes(kReadTable0) << "LE ≠ LEr (0B ≠ 0C)" << true;
        QTest::newRow("noise") << bytes("55 AA 01") << none << "bajty, které nejsou telegramem" << true;
        QTest::newRow("reply from another station")
            << bytes("68 0B 0B 68 00 02 08 42 A0 00 00 41 A0 00 00 CD 16") << bytes(kReadTable0)
            << "odpověď z jiné adresy (DA 0, SA 2; čekáno DA 0, SA 1)" << true;
        QTest::newRow("request with a wrong table length")
            << bytes("68 07 07 68 01 00 6C 01 10 11 00 8F 16") << none
            << "čtení tabulky 16, DA 1, SA 0: délka 17, tabulka má 18 bajtů" << true;
        QTest::newRow("unknown service") << bytes("68 04 04 68 01 00 6C 09 76 16") << none
                                         << "neznámý požadavek (FC 6C, služba 9), DA 1, SA 0" << true;
        QTest::newRow("reply with a request's function code")
            << bytes("68 0B 0B 68 00 01 6C 42 A0 00 00 41 A0 00 00 30 16") << bytes(kReadTable0)
            << "chybný kód funkce (6C, má být 08)" << true;
    }

    void describesEveryKind()
    {
        QFETCH(QByteArray, telegram);
        QFETCH(QByteArray, request);
        QFETCH(QString, meaning);
        QFETCH(bool, fault);
        const TelegramMeaning described = describeTelegram(telegram, request);
        QCOMPARE(described.text, meaning);
        QCOMPARE(described.fault, fault);
    }

    void awaitsTheReplyTheRequestAsksFor_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("length");
        QTest::newRow("table 16") << bytes(kReadTable16) << 27;
        QTest::newRow("read to everyone") << bytes("68 07 07 68 7F 00 6C 01 10 12 00 0E 16") << 0;
        QTest::newRow("write") << bytes(kWriteTable0) << 6;
        QTest::newRow("noise") << bytes("55 AA 01") << 0;
    }

    void awaitsTheReplyTheRequestAsksFor()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, length);
        QCOMPARE(telegram_meaning::awaitedReplyLength(request), length);
    }

    // Random bytes, some dressed as a frame so that the deeper checks run too.
    void randomBytesOfEveryLength()
    {
        QRandomGenerator random(17);
        for (int length = 0; length <= 255; ++length) {
            QByteArray telegram(length, Qt::Uninitialized);
            for (char& b : telegram)
                b = static_cast<char>(random.bounded(256));
            QByteArray framed = telegram;
            if (length >= 4) {
                framed[0] = framed[3] = char(0x68);
                framed[1] = framed[2] = char(length - 6);
            }
            for (const QByteArray& candidate : {telegram, framed}) {
                QVERIFY(!describeTelegram(candidate).text.isEmpty());
                QVERIFY(!describeTelegram(candidate, bytes(kReadTable16)).text.isEmpty());
                QVERIFY(!describeTelegram(candidate, candidate).text.isEmpty());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestTelegramMeaning)
#include "tst_telegram_meaning.moc"
