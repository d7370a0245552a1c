#include "UffLineReader.h"

#include <QIODevice>

#include <algorithm>

bool UffLineReader::Next() {
    m_line.clear();
    m_bTooLong = false;
    char buf[1024];
    bool any = false;
    for (;;) {
        const qint64 n = m_device.readLine(buf, sizeof buf);
        if (n <= 0)
            break;
        any = true;
        const bool ended = buf[n - 1] == '\n';
        const qint64 content = ended ? n - 1 : n;
        const qint64 room = kMaxLine - m_line.size();
        if (content > room)
            m_bTooLong = true;
        m_line.append(buf, static_cast<qsizetype>(std::min(content, room)));
        if (ended)
            break;
    }
    if (!any)
        return false;
    ++m_nLine;
    if (m_line.endsWith('\r'))
        m_line.chop(1);
    if (m_nLine == 1 && m_line.startsWith("\xEF\xBB\xBF"))
        m_line.remove(0, 3);
    return true;
}

bool UffLineReader::SkipBytes(qint64 count) {
    char buf[4096];
    while (count > 0) {
        const qint64 n = m_device.read(buf, std::min<qint64>(count, sizeof buf));
        if (n <= 0)
            return false;
        m_nLine += std::count(buf, buf + n, '\n');
        count -= n;
    }
    return true;
}
