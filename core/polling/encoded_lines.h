#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

class QIODevice;

// Text lines kept as the bytes of a file that holds them, each followed by
// CR LF. The bytes live in chunks of a fixed size that are filled once and
// never moved, so that a log of a week at a line a second costs little more
// than its file and adding a line never copies the lines before it.
class EncodedLines {
public:
    static constexpr qsizetype kChunkSize = 64 * 1024;
    static constexpr QByteArrayView kLineEnd{"\r\n"};

    // line: the encoded text without a line end.
    void append(QByteArrayView line);
    void clear();

    qsizetype count() const { return m_lineCount; }
    qint64 byteSize() const { return m_byteSize; }
    // The line's bytes without its line end.
    QByteArrayView line(qsizetype index) const;

    // Writes the bytes from the offset `from` to the end; false when the
    // device refused some of them.
    [[nodiscard]] bool writeFrom(qint64 from, QIODevice& device) const;
    // The last `length` bytes (fewer when there are fewer).
    QByteArray tail(qsizetype length) const;

private:
    // A line never spans two chunks; a line longer than a chunk gets a chunk
    // of its own, so every start within a chunk fits 16 bits.
    struct Chunk {
        QByteArray bytes;
        std::vector<uint16_t> starts;
        qsizetype firstLine = 0;
        qint64 firstByte = 0;
    };

    Chunk& chunkFor(qsizetype length);
    const Chunk& chunkOfLine(qsizetype index) const;
    const Chunk& chunkOfByte(qint64 offset) const;

    std::vector<Chunk> m_chunks;
    qsizetype m_lineCount = 0;
    qint64 m_byteSize = 0;
};
