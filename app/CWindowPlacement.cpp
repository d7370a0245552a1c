#include "CWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtEndian>

QByteArray CWindowPlacement::ToBytes() const {
    const std::int32_t fields[11] = {m_nLength, m_nFlags, m_nShowCmd, m_nMinX,  m_nMinY,  m_nMaxX,
                                     m_nMaxY,   m_nLeft,  m_nTop,     m_nRight, m_nBottom};
    QByteArray bytes(kSize, '\0');
    for (int i = 0; i < 11; ++i)
        qToLittleEndian<std::int32_t>(fields[i], bytes.data() + 4 * i);
    return bytes;
}

bool CWindowPlacement::FromBytes(const QByteArray& bytes) {
    if (bytes.size() != kSize)
        return false;
    std::int32_t f[11];
    for (int i = 0; i < 11; ++i)
        f[i] = qFromLittleEndian<std::int32_t>(bytes.constData() + 4 * i);
    if (f[0] != kSize)
        return false;
    m_nLength = f[0];
    m_nFlags = f[1];
    m_nShowCmd = f[2];
    m_nMinX = f[3];
    m_nMinY = f[4];
    m_nMaxX = f[5];
    m_nMaxY = f[6];
    m_nLeft = f[7];
    m_nTop = f[8];
    m_nRight = f[9];
    m_nBottom = f[10];
    return true;
}

QRect CWindowPlacement::WorkArea(const QWidget* window) {
    QScreen* screen =
        window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

std::int32_t CWindowPlacement::ShowStateOf(const QWidget* window) {
    if (!window->isVisible())
        return Hide;
    if (window->isMinimized())
        return ShowMinimized;
    if (window->isMaximized())
        return ShowMaximized;
    return ShowNormal;
}

CWindowPlacement CWindowPlacement::Of(const QWidget* window) {
    CWindowPlacement wp;
    wp.m_nShowCmd = ShowStateOf(window);
    const QRect work = WorkArea(window);
    // A window that is maximised or minimised reports the rectangle it returns to.
    const QRect normal = window->isMaximized() || window->isMinimized() ? window->normalGeometry()
                                                                        : window->geometry();
    wp.m_nLeft = normal.left() - work.left();
    wp.m_nTop = normal.top() - work.top();
    wp.m_nRight = wp.m_nLeft + normal.width();
    wp.m_nBottom = wp.m_nTop + normal.height();
    return wp;
}

void CWindowPlacement::ApplyHidden(QWidget* window) const {
    const int width = m_nRight - m_nLeft;
    const int height = m_nBottom - m_nTop;
    if (width <= 0 || height <= 0)
        return;
    const QRect work = WorkArea(window);
    window->hide();
    window->setGeometry(m_nLeft + work.left(), m_nTop + work.top(), width, height);
}
