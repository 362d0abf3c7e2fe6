#include "encoded_lines.h"

#include <QIODevice>

#include <algorithm>

EncodedLines::Chunk& EncodedLines::chunkFor(qsizetype length)
{
    if (m_chunks.empty() || m_chunks.back().bytes.size() + length > kChunkSize) {
        if (!m_chunks.empty())
            m_chunks.back().starts.shrink_to_fit();
        Chunk chunk;
        chunk.bytes.reserve(std::max(length, kChunkSize));
        chunk.firstLine = m_lineCount;
        chunk.firstByte = m_byteSize;
        m_chunks.push_back(std::move(chunk));
    }
    return m_chunks.back();
}

void EncodedLines::append(QByteArrayView line)
{
    const qsizetype length = line.size() + kLineEnd.size();
    Chunk& chunk = chunkFor(length);
    chunk.starts.push_back(static_cast<uint16_t>(chunk.bytes.size()));
    chunk.bytes.append(line).append(kLineEnd);
    ++m_lineCount;
    m_byteSize += length;
}

void EncodedLines::clear()
{
    m_chunks.clear();
    m_lineCount = 0;
    m_byteSize = 0;
}

const EncodedLines::Chunk& EncodedLines::chunkOfLine(qsizetype index) const
{
    const auto after = std::upper_bound(m_chunks.begin(), m_chunks.end(), index,
                                        [](qsizetype i, const Chunk& c) { return i < c.firstLine; });
    return *std::prev(after);
}

const EncodedLines::Chunk& EncodedLines::chunkOfByte(qint64 offset) const
{
    const auto after = std::upper_bound(m_chunks.begin(), m_chunks.end(), offset,
                                        [](qint64 o, const Chunk& c) { return o < c.firstByte; });
    return *std::prev(after);
}

QByteArrayView EncodedLines::line(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_lineCount);
    const Chunk& chunk = chunkOfLine(index);
    const auto within = static_cast<size_t>(index - chunk.firstLine);
    const qsizetype start = chunk.starts[within];
    const qsizetype end = within + 1 < chunk.starts.size() ? chunk.starts[within + 1] : chunk.bytes.size();
    return QByteArrayView(chunk.bytes).sliced(start, end - start - kLineEnd.size());
}

bool EncodedLines::writeFrom(qint64 from, QIODevice& device) const
{
    if (from >= m_byteSize)
        return true;
    for (auto chunk = m_chunks.begin() + (&chunkOfByte(from) - m_chunks.data()); chunk != m_chunks.end(); ++chunk) {
        const qint64 skip = std::max<qint64>(from - chunk->firstByte, 0);
        const qint64 length = chunk->bytes.size() - skip;
        if (device.write(chunk->bytes.constData() + skip, length) != length)
            return false;
    }
    return true;
}

QByteArray EncodedLines::tail(qsizetype length) const
{
    QByteArray bytes;
    for (auto chunk = m_chunks.rbegin(); chunk != m_chunks.rend() && bytes.size() < length; ++chunk) {
        const qsizetype take = std::min(length - bytes.size(), chunk->bytes.size());
        bytes.prepend(QByteArrayView(chunk->bytes).last(take));
    }
    return bytes;
}
