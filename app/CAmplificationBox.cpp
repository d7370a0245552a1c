#include "CAmplificationBox.h"

#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "IToolWindows.h"

#include <QLineEdit>

#include <cmath>

CAmplificationBox::CAmplificationBox(QWidget* parent) : QDoubleSpinBox(parent) {
    setObjectName(QStringLiteral("amplification"));
    setRange(-1.0e12, 1.0e12);
    setDecimals(12);
    setKeyboardTracking(false);
    setPrefix(QStringLiteral("\u00d7 "));
    setToolTip(QStringLiteral("Amplification of the series shown"));
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u00d7 0.000000 ")) + 24);
    setEnabled(false);
    connect(this, &QDoubleSpinBox::valueChanged, this, [this](double v) { Apply(v); });
}

void CAmplificationBox::ShowFor(CQuivraView* view) {
    CQuivraDoc* doc = view ? view->GetDocument() : nullptr;
    const int k = view ? view->m_nCurrentSeries : -1;
    const bool valid = doc && k >= 0 && k < doc->m_nSeries &&
                       static_cast<std::size_t>(k) < doc->m_seriesAmplification.size();
    m_pView = valid ? view : nullptr;
    if (isEnabled() != valid)
        setEnabled(valid);
    if (!valid || hasFocus())
        return;
    const double a = doc->m_seriesAmplification[static_cast<std::size_t>(k)];
    if (a != value()) {
        const QSignalBlocker block(this);
        setValue(a);
    }
}

void CAmplificationBox::Apply(double value) {
    CQuivraDoc* doc = m_pView ? m_pView->GetDocument() : nullptr;
    const int k = m_pView ? m_pView->m_nCurrentSeries : -1;
    if (!doc || k < 0 || static_cast<std::size_t>(k) >= doc->m_seriesAmplification.size() ||
        !std::isfinite(value))
        return;
    double& a = doc->m_seriesAmplification[static_cast<std::size_t>(k)];
    if (a == value)
        return;
    // A series setting, like the Measurement Series window's: no undo snapshot.
    a = value;
    doc->SetModifiedFlag();
    doc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    if (doc->m_pToolWindows)
        doc->m_pToolWindows->RefillSeries();
    doc->UpdateAllViews();
}

void CAmplificationBox::stepBy(int steps) {
    double v = value();
    if (v == 0.0)
        v = 1.0;
    else
        v *= std::pow(kStepFactor, steps);
    setValue(v);
}

QString CAmplificationBox::textFromValue(double value) const {
    return QString::number(value, 'g', 6);
}

double CAmplificationBox::valueFromText(const QString& text) const {
    QString t = text;
    t.remove(prefix());
    return t.trimmed().toDouble();
}

QValidator::State CAmplificationBox::validate(QString& text, int&) const {
    QString t = text;
    t.remove(prefix());
    t = t.trimmed();
    if (t.isEmpty() || t == QLatin1String("-") || t.endsWith(QLatin1Char('e')) ||
        t.endsWith(QLatin1String("e-")))
        return QValidator::Intermediate;
    bool ok = false;
    t.toDouble(&ok);
    return ok ? QValidator::Acceptable : QValidator::Invalid;
}
