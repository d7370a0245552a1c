#pragma once

#include <QByteArray>
#include <QRect>

#include <cstdint>

class QWidget;

// A window's placement as the 44-byte record kept in the settings: eleven little-endian 32-bit
// fields (record length, flags, show state, minimised x/y, maximised x/y, normal rectangle
// left/top/right/bottom). The normal rectangle is in work-area coordinates and covers the
// window's client area, so that reading and applying it round-trips exactly.
class CWindowPlacement {
public:
    enum ShowState : std::int32_t {
        Hide = 0,
        ShowNormal = 1,
        ShowMinimized = 2,
        ShowMaximized = 3
    };
    static constexpr int kSize = 44;

    std::int32_t m_nLength = kSize;
    std::int32_t m_nFlags = 0;
    std::int32_t m_nShowCmd = ShowNormal;
    std::int32_t m_nMinX = -1, m_nMinY = -1;
    std::int32_t m_nMaxX = -1, m_nMaxY = -1;
    std::int32_t m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;

    QByteArray ToBytes() const;
    // False (and this unchanged) for a record of another size or with another length field.
    bool FromBytes(const QByteArray& bytes);

    static CWindowPlacement Of(const QWidget* window);
    // Moves and sizes a hidden window to the normal rectangle; the window stays hidden whatever
    // show state the record holds. Rectangles without area are ignored.
    void ApplyHidden(QWidget* window) const;

    static std::int32_t ShowStateOf(const QWidget* window);
    static QRect WorkArea(const QWidget* window);
};
