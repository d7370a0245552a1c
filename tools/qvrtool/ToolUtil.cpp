#include "ToolUtil.h"

#include "CQuivraDoc.h"
#include "CViewState.h"
#include "SceneFile.h"

#include <QFile>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace tool {

int Fail(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}

int Usage(const char* usage) {
    std::fprintf(stderr, "usage: qvrtool %s\n", usage);
    return 2;
}

std::unique_ptr<CQuivraDoc> LoadScene(const QString& path) {
    auto doc = std::make_unique<CQuivraDoc>();
    QString error;
    if (!SceneFile::Load(path, *doc, &error)) {
        Fail(error);
        return nullptr;
    }
    doc->SetPathName(path);
    return doc;
}

bool SaveScene(CQuivraDoc& doc, const QString& path) {
    QString error;
    if (!SceneFile::Save(doc, path, &error)) {
        Fail(error);
        return false;
    }
    return true;
}

QString JsonNumber(double v) {
    if (std::isnan(v))
        return QStringLiteral("null");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return QString::fromLatin1(buf);
}

QString JsonFloat(float v) {
    if (std::isnan(v))
        return QStringLiteral("null");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return QString::fromLatin1(buf);
}

QString JsonString(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

bool ParseDoubles(const QString& text, int count, std::vector<double>& out) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        return false;
    out.clear();
    for (const QString& p : parts) {
        bool ok = false;
        const double v = p.trimmed().toDouble(&ok); // C locale, whole text
        if (!ok)
            return false;
        out.push_back(v);
    }
    return true;
}

bool ParseInt(const QString& text, int& out) {
    bool ok = false;
    out = text.toInt(&ok);
    return ok;
}

bool ParseSize(const QString& text, int minWidth, int& width, int& height) {
    const QStringList wh = text.split(QLatin1Char('x'));
    return wh.size() == 2 && ParseInt(wh[0], width) && ParseInt(wh[1], height) &&
           width >= minWidth && height >= 1 && width <= 16384 && height <= 16384;
}

bool ParseFiniteDoubles(const QString& text, int count, std::vector<double>& out) {
    if (!ParseDoubles(text, count, out))
        return false;
    for (double v : out)
        if (!std::isfinite(v))
            return false;
    return true;
}

QString TerminalText(const QString& message) {
    QString text = message;
    text.replace(QStringLiteral(" \r"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void Print(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

} // namespace tool

bool tool::ParseLook(const QString& text, int& look) {
    if (text == QLatin1String("classic"))
        look = CViewState::LookClassic;
    else if (text == QLatin1String("clear"))
        look = CViewState::LookClear;
    else
        return false;
    return true;
}
