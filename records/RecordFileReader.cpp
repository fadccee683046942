#include "records/RecordFile.h"

#include "core/Cp1251.h"

#include <QFileInfo>

#include <cstring>

namespace {

constexpr int LineFeed = 0x0A;
constexpr int CarriageReturn = 0x0D;
constexpr int EndOfText = 0x1A; // Ctrl+Z: ends a line's text, and the file where a line would begin
constexpr int SlotCount = 8;

// Finds the record header in a stream of bytes. The pattern's first letter occurs nowhere else in it,
// so after a mismatch the only possible restart is at that letter.
class HeaderMatcher
{
public:
    void feed(const unsigned char* bytes, std::size_t count)
    {
        const unsigned char* const end = bytes + count;
        while (bytes < end && !m_found) {
            if (m_matched == 0) {
                bytes = static_cast<const unsigned char*>(std::memchr(bytes, Header[0], std::size_t(end - bytes)));
                if (bytes == nullptr)
                    return;
            }
            feed(*bytes++);
        }
    }
    bool found() const { return m_found; }

private:
    void feed(unsigned char byte)
    {
        if (byte == Header[m_matched])
            ++m_matched;
        else
            m_matched = byte == Header[0] ? 1 : 0;
        m_found = Header[m_matched] == '\0';
    }

    static constexpr const char* Header = kRecordHeader;
    std::size_t m_matched = 0;
    bool m_found = false;
};

const unsigned char* find(const unsigned char* from, const unsigned char* to, int byte)
{
    return static_cast<const unsigned char*>(std::memchr(from, byte, std::size_t(to - from)));
}

// Reads one line and passes its text to `sink` in runs of bytes: the line ends at LF or at the end
// of the file; every CR is dropped (before LF it is part of the line end); after 0x1A the rest of
// the line is skipped. Works on whole buffers, since a wrong file may be one line of any size.
template <typename Sink>
void readLine(BufferedFileInput& input, Sink&& sink)
{
    bool textEnded = false;
    for (std::span<const unsigned char> bytes = input.available(); !bytes.empty(); bytes = input.available()) {
        const unsigned char* const begin = bytes.data();
        const unsigned char* const lineFeed = find(begin, begin + bytes.size(), LineFeed);
        const unsigned char* textEnd = lineFeed != nullptr ? lineFeed : begin + bytes.size();
        input.consume(std::size_t(textEnd - begin) + (lineFeed != nullptr ? 1 : 0));

        if (!textEnded) {
            if (const unsigned char* stop = find(begin, textEnd, EndOfText)) {
                textEnd = stop;
                textEnded = true;
            }
            for (const unsigned char* run = begin; run < textEnd;) {
                const unsigned char* carriageReturn = find(run, textEnd, CarriageReturn);
                const unsigned char* runEnd = carriageReturn != nullptr ? carriageReturn : textEnd;
                if (runEnd > run)
                    sink(run, std::size_t(runEnd - run));
                run = runEnd + 1;
            }
        }
        if (lineFeed != nullptr)
            return;
    }
}

bool atEndOfFile(BufferedFileInput& input)
{
    const int next = input.peek();
    return next == BufferedFileInput::End || next == EndOfText;
}

} // namespace

RecordFileReader::RecordFileReader(const QString& path, std::optional<qint64> byteLimit)
    : m_path(path), m_byteLimit(byteLimit)
{
}

RecordFileReader::~RecordFileReader() = default;

void RecordFileReader::close()
{
    m_input.reset();
}

ReadOutcome RecordFileReader::read(const std::function<void(int slot, const QString& text)>& receiver)
{
    close();
    m_input.emplace(m_path, m_byteLimit);
    try {
        // Line 1 is only searched, never kept: a wrong file may be one endless line.
        HeaderMatcher header;
        readLine(*m_input, [&](const unsigned char* bytes, std::size_t count) { header.feed(bytes, count); });
        if (!header.found()) {
            close();
            return ReadOutcome::FormatError;
        }

        QByteArray line;
        for (int slot = 1; slot <= SlotCount && !atEndOfFile(*m_input); ++slot) {
            line.clear();
            readLine(*m_input, [&](const unsigned char* bytes, std::size_t count) {
                line.append(reinterpret_cast<const char*>(bytes), qsizetype(count));
            });
            receiver(slot, DecodeCp1251(line));
        }
        return ReadOutcome::Loaded;
    } catch (const EInOutError&) {
        close();
        throw;
    }
}

Sex SexFromSlotText(const QString& text)
{
    return text == QLatin1String("0") ? Sex::Male : Sex::Female;
}

bool RecordFileExists(const QString& path)
{
    return QFileInfo(path).isFile();
}
