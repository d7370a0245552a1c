#pragma once

#include <QByteArray>

class QIODevice;

// Reads a Universal File one line at a time, so that memory does not grow with the file, and
// counts the lines for messages. A byte-order mark before the first line is dropped; CRLF and
// LF ends are taken off. Lines longer than kMaxLine keep their first kMaxLine bytes and are
// marked, so that a reader of that line can refuse it instead of working on a part.
class UffLineReader {
public:
    static constexpr int kMaxLine = 4096;

    explicit UffLineReader(QIODevice& device) : m_device(device) {}

    // Moves to the next line; false at the end of the file.
    bool Next();
    const QByteArray& Line() const { return m_line; }
    bool LineTooLong() const { return m_bTooLong; }
    // 1-based number of the current line, as an editor shows it.
    qint64 LineNumber() const { return m_nLine; }
    // Skips `count` bytes that follow the current line (binary data); false when the file ends
    // first. Line numbers go on counting the line ends inside the skipped bytes.
    bool SkipBytes(qint64 count);

private:
    QIODevice& m_device;
    QByteArray m_line;
    bool m_bTooLong = false;
    qint64 m_nLine = 0;
};
