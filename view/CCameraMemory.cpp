#include "CCameraMemory.h"

#include "CViewState.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QSettings>

#include <cmath>

namespace {

const QString kSection = QStringLiteral("cameras");

QSettings Settings() {
    return QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra"));
}

// The group of a scene: the same file under any name (links, "..") finds the same camera.
QString Group(const QString& path, QString* canonical) {
    if (path.isEmpty())
        return QString();
    *canonical = QFileInfo(path).canonicalFilePath();
    if (canonical->isEmpty())
        return QString();
    return kSection + QLatin1Char('/') +
           QString::fromLatin1(
               QCryptographicHash::hash(canonical->toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

void CCameraMemory::Save(const QString& path, const CViewState& st) {
    QString canonical;
    const QString group = Group(path, &canonical);
    if (group.isEmpty())
        return;
    const double values[] = {st.m_dRotX, st.m_dRotY, st.m_dRotZ, st.m_dZoom,
                             st.m_dPanX, st.m_dPanY, st.m_dPanZ};
    QStringList camera;
    for (double v : values) {
        if (!std::isfinite(v))
            return;
        camera << QString::number(v, 'g', 17);
    }
    QSettings s = Settings();
    s.setValue(group + QStringLiteral("/path"), canonical);
    s.setValue(group + QStringLiteral("/camera"), camera.join(QLatin1Char(' ')));
    s.setValue(group + QStringLiteral("/used"), QDateTime::currentMSecsSinceEpoch());

    s.beginGroup(kSection);
    QStringList scenes = s.childGroups();
    while (scenes.size() > kMaxScenes) {
        QString oldest;
        qint64 oldestUse = 0;
        for (const QString& g : scenes) {
            const qint64 used = s.value(g + QStringLiteral("/used")).toLongLong();
            if (oldest.isEmpty() || used < oldestUse) {
                oldest = g;
                oldestUse = used;
            }
        }
        s.remove(oldest);
        scenes.removeAll(oldest);
    }
    s.endGroup();
}

bool CCameraMemory::Load(const QString& path, CViewState& st) {
    QString canonical;
    const QString group = Group(path, &canonical);
    if (group.isEmpty())
        return false;
    QSettings s = Settings();
    // A hash collision must not hand one scene another's camera.
    if (s.value(group + QStringLiteral("/path")).toString() != canonical)
        return false;
    const QStringList camera =
        s.value(group + QStringLiteral("/camera")).toString().split(QLatin1Char(' '));
    if (camera.size() != 7)
        return false;
    double v[7];
    for (int i = 0; i < 7; ++i) {
        bool ok = false;
        v[i] = camera[i].toDouble(&ok);
        if (!ok || !std::isfinite(v[i]))
            return false;
    }
    if (!(v[3] > 0.0))
        return false;
    st.m_dRotX = v[0];
    st.m_dRotY = v[1];
    st.m_dRotZ = v[2];
    st.m_dZoom = v[3];
    st.m_dPanX = v[4];
    st.m_dPanY = v[5];
    st.m_dPanZ = v[6];
    return true;
}
