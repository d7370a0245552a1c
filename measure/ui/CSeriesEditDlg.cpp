#include "CSeriesEditDlg.h"

#include "CMeasSeriesDlg.h"
#include "CQuivraDoc.h"
#include "CellNumber.h"
#include "CornerPoint.h"
#include "ISeriesHost.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "NumberText.h"
#include "SeriesNameInput.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

double ProposeAmplification(const CQuivraDoc& doc, int k) {
    double a = 1e100;
    if (k < 0)
        return a;
    const auto sk = static_cast<std::size_t>(k);
    for (const SceneObject* o : doc.m_objects) {
        for (const CornerPoint* p : o->m_points) {
            if (p->m_directions.empty())
                continue;
            double d = 1e100;
            for (const CornerPoint* q : o->m_points) {
                if (q == p)
                    continue;
                const double dx = q->m_x - p->m_x, dy = q->m_y - p->m_y, dz = q->m_z - p->m_z;
                d = std::min(d, std::sqrt(dx * dx + dy * dy + dz * dz));
            }
            const double limit = 0.3 * d;
            for (const MeasDirection* dir : p->m_directions) {
                if (sk >= dir->m_measurements.size())
                    continue;
                const double amp = dir->m_measurements[sk]->m_dAmplitude;
                if (a * amp > limit)
                    a = limit / amp;
            }
        }
    }
    return a;
}

CSeriesEditDlg::CSeriesEditDlg(CMeasSeriesDlg* owner) : QDialog(owner), m_pOwner(owner) {
    setWindowTitle(tr("Edit Measurement Serie"));
    setModal(false);
    m_pName = new QLineEdit(this);
    m_pFrequency = new QLineEdit(this);
    m_pFrames = new QLineEdit(this);
    m_pAmplification = new QLineEdit(this);
    m_pHz = new QRadioButton(tr("Hz"), this);
    m_pRpm = new QRadioButton(tr("RPM"), this);
    auto* calculate = new QPushButton(tr("Calculate"), this);
    auto* close = new QPushButton(tr("Close"), this);
    calculate->setObjectName(QStringLiteral("Calculate"));
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {calculate, close})
        b->setAutoDefault(false);

    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setWordWrap(true);
    for (QLineEdit* f : {m_pName, m_pFrequency, m_pFrames, m_pAmplification})
        f->installEventFilter(this);
    FilterSeriesNameInput(m_pName, [this](const QString& hint) { m_pStatus->setText(hint); });
    connect(m_pName, &QLineEdit::returnPressed, this, &CSeriesEditDlg::ApplyName);
    connect(m_pFrequency, &QLineEdit::returnPressed, this, &CSeriesEditDlg::ApplyFrequency);
    connect(m_pFrames, &QLineEdit::returnPressed, this, &CSeriesEditDlg::ApplyFrames);
    connect(m_pAmplification, &QLineEdit::returnPressed, this, &CSeriesEditDlg::ApplyAmplification);
    connect(m_pHz, &QRadioButton::clicked, this, [this] { OnUnit(0); });
    connect(m_pRpm, &QRadioButton::clicked, this, [this] { OnUnit(1); });
    connect(calculate, &QPushButton::clicked, this, &CSeriesEditDlg::OnCalculate);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);

    auto group = [this](const QString& title, std::initializer_list<QWidget*> widgets) {
        auto* g = new QGroupBox(title, this);
        auto* l = new QHBoxLayout(g);
        for (QWidget* w : widgets)
            l->addWidget(w);
        return g;
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(tr("Name"), {m_pName}));
    layout->addWidget(group(tr("Angular velocity / Frequency"), {m_pFrequency, m_pHz, m_pRpm}));
    layout->addWidget(group(tr("Frames/per."), {m_pFrames}));
    layout->addWidget(group(tr("Amplification"), {m_pAmplification, calculate}));
    layout->addWidget(m_pStatus);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void CSeriesEditDlg::Bind(CQuivraDoc* doc, ISeriesHost* host) {
    m_pDoc = doc;
    m_pHost = host;
}

int CSeriesEditDlg::Series() const {
    return m_pHost ? ValidSeries(m_pDoc, m_pHost->CurrentSeries()) : -1;
}

void CSeriesEditDlg::LoadFields() {
    const int k = Series();
    for (QWidget* w : std::initializer_list<QWidget*>{m_pName, m_pFrequency, m_pFrames,
                                                      m_pAmplification, m_pHz, m_pRpm})
        w->setEnabled(k >= 0);
    if (k < 0) {
        for (QLineEdit* f : {m_pName, m_pFrequency, m_pFrames, m_pAmplification})
            f->clear();
        return;
    }
    const auto sk = static_cast<std::size_t>(k);
    const std::string& name = m_pDoc->m_seriesNames[sk];
    m_pName->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    m_pFrequency->setText(FormatG(m_pDoc->m_seriesFrequency[sk]));
    m_pAmplification->setText(FormatG(m_pDoc->m_seriesAmplification[sk]));
    m_pFrames->setText(FormatInt(m_pDoc->m_seriesFramesPerPeriod[sk]));
    (m_pDoc->m_seriesFreqUnit[sk] ? m_pRpm : m_pHz)->setChecked(true);
}

// A field the user did not change writes nothing: its text is the stored value rounded to
// "%g" (or a name the line edit may have cut), and merely visiting it must not change the
// series.
void CSeriesEditDlg::ApplyName() {
    const int k = Series();
    if (k < 0 || !m_pName->isModified())
        return;
    m_pName->setModified(false);
    // Typing cannot bring in other characters (FilterSeriesNameInput); a direct setText can.
    QString dropped;
    const QString name = StorableSeriesName(m_pName->text(), &dropped);
    if (!dropped.isEmpty()) {
        m_pStatus->setText(SeriesNameHint(dropped));
        m_pName->setText(name);
    }
    m_pDoc->m_seriesNames[static_cast<std::size_t>(k)] = name.toLatin1().toStdString();
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    m_pOwner->Refill();
}

bool CSeriesEditDlg::ReadField(QLineEdit* field, const QString& what, const QString& stored,
                               double* value) {
    if (!field->isModified())
        return false;
    field->setModified(false);
    const numtext::Leading status = numtext::ParseLeadingDouble(field->text(), value);
    if (status == numtext::Leading::Number) {
        m_pStatus->clear();
        return true;
    }
    m_pStatus->setText(QStringLiteral("%1: %2; it keeps %3.")
                           .arg(what, numtext::RefusalReason(status, field->text()), stored));
    field->setText(stored);
    return false;
}

void CSeriesEditDlg::ApplyFrequency() {
    const int k = Series();
    if (k < 0)
        return;
    double& stored = m_pDoc->m_seriesFrequency[static_cast<std::size_t>(k)];
    double v = 0.0;
    if (!ReadField(m_pFrequency, tr("Frequency"), FormatG(stored), &v))
        return;
    stored = v;
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    m_pOwner->Refill();
}

void CSeriesEditDlg::ApplyFrames() {
    const int k = Series();
    if (k < 0)
        return;
    std::int32_t& stored = m_pDoc->m_seriesFramesPerPeriod[static_cast<std::size_t>(k)];
    double read = 0.0;
    if (!ReadField(m_pFrames, tr("Frames per period"), FormatInt(stored), &read))
        return;
    const double v = std::trunc(std::fabs(read));
    if (v < 1.0) {
        // The animation divides by this count: 0 is refused and the stored value shown again.
        m_pStatus->setText(tr("Frames per period: at least 1; it keeps %1.").arg(stored));
        m_pFrames->setText(FormatInt(stored));
        return;
    }
    if (v > CQuivraDoc::kMaxFramesPerPeriod) {
        // Saving the period writes one image per frame: a count without bound fills the disk.
        m_pStatus->setText(tr("Frames per period: at most %1; it keeps %2.")
                               .arg(CQuivraDoc::kMaxFramesPerPeriod)
                               .arg(stored));
        m_pFrames->setText(FormatInt(stored));
        return;
    }
    stored = static_cast<int>(v);
    m_pFrames->setText(FormatInt(stored));
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
}

void CSeriesEditDlg::ApplyAmplification() {
    const int k = Series();
    if (k < 0)
        return;
    double& stored = m_pDoc->m_seriesAmplification[static_cast<std::size_t>(k)];
    double v = 0.0;
    if (!ReadField(m_pAmplification, tr("Amplification"), FormatG(stored), &v))
        return;
    stored = v;
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
}

void CSeriesEditDlg::OnUnit(int unit) {
    const int k = Series();
    if (k < 0)
        return;
    m_pDoc->m_seriesFreqUnit[static_cast<std::size_t>(k)] = unit;
    m_pDoc->m_seriesFreqFlag[static_cast<std::size_t>(k)] = 1;
    // The unit is stored in the file: closing must not lose it silently.
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    m_pOwner->Refill();
}

void CSeriesEditDlg::OnCalculate() {
    const int k = Series();
    if (k < 0)
        return;
    const double a = ProposeAmplification(*m_pDoc, k);
    if (a == 1e100)
        return;
    m_pDoc->m_seriesAmplification[static_cast<std::size_t>(k)] = a;
    m_pAmplification->setText(FormatG(a));
    m_pDoc->SetModifiedFlag();
    m_pDoc->m_laterEdits.Note(SceneChanges::SeriesSettingChanged);
    m_pHost->RepaintNow();
}

bool CSeriesEditDlg::eventFilter(QObject* obj, QEvent* e) {
    if (e->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) {
        if (obj == m_pName)
            ApplyName();
        else if (obj == m_pFrequency)
            ApplyFrequency();
        else if (obj == m_pFrames)
            ApplyFrames();
        else if (obj == m_pAmplification)
            ApplyAmplification();
    }
    return QDialog::eventFilter(obj, e);
}

void CSeriesEditDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    const int k = Series();
    if (k >= 0)
        m_pDoc->m_seriesFreqFlag[static_cast<std::size_t>(k)] = 1;
    LoadFields();
}

void CSeriesEditDlg::hideEvent(QHideEvent* e) {
    // The focused field loses the focus as the window goes: apply it before reloading.
    if (QWidget* f = focusWidget())
        if (f->hasFocus())
            f->clearFocus();
    QDialog::hideEvent(e);
    LoadFields();
}
