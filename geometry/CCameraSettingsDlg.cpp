#include "CCameraSettingsDlg.h"

#include "CNumberEdit.h"
#include "CQuivraDoc.h"
#include "IDocView.h"
#include "NumberText.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using V = IViewSettingsTarget;

struct FieldInfo {
    V::CameraValue which;
    const char* name;
    const char* label; // empty: no label
    bool multiply;
    double up;   // added, or the factor for zoom
    double down; // added, or the factor for zoom
};

// Zoom's decreasing step multiplies by the stored reciprocal rather than dividing, so that a
// right-left pair gives exactly what the program always gave.
const FieldInfo kFields[V::CameraValueCount] = {
    {V::RotX, "RotX", "X", false, 5.0, -5.0},
    {V::RotY, "RotY", "Y", false, 5.0, -5.0},
    {V::RotZ, "RotZ", "Z", false, 5.0, -5.0},
    {V::Zoom, "Zoom", "", true, 1.1, 0.9090909090909091},
    {V::PanX, "PanX", "X", false, 10.0, -10.0},
    {V::PanY, "PanY", "Y", false, 10.0, -10.0},
    {V::PanZ, "PanZ", "Z", false, 10.0, -10.0},
};

} // namespace

CCameraSettingsDlg::CCameraSettingsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Camera Settings"));
    auto* layout = new QVBoxLayout(this);
    const struct {
        const char* title;
        int first;
        int count;
    } groups[] = {{"Rotate Around", 0, 3}, {"Zoom", 3, 1}, {"Translate", 4, 3}};
    for (const auto& g : groups) {
        auto* box = new QGroupBox(QString::fromLatin1(g.title), this);
        auto* grid = new QGridLayout(box);
        for (int row = 0; row < g.count; ++row) {
            const FieldInfo& f = kFields[g.first + row];
            const QString name = QString::fromLatin1(f.name);
            if (*f.label)
                grid->addWidget(new QLabel(QString::fromLatin1(f.label), box), row, 0);
            auto* left = new QToolButton(box);
            left->setArrowType(Qt::LeftArrow);
            left->setObjectName(name + QStringLiteral("Left"));
            auto* edit = new CNumberEdit(nullptr, box);
            edit->setObjectName(name);
            auto* right = new QToolButton(box);
            right->setArrowType(Qt::RightArrow);
            right->setObjectName(name + QStringLiteral("Right"));
            grid->addWidget(left, row, 1);
            grid->addWidget(edit, row, 2);
            grid->addWidget(right, row, 3);
            m_pFields[f.which] = edit;
            const V::CameraValue which = f.which;
            connect(left, &QToolButton::clicked, this, [this, which] { Step(which, false); });
            connect(right, &QToolButton::clicked, this, [this, which] { Step(which, true); });
            // Only what the user types goes to the camera; ShowValues must not write its
            // rounded "%g" text back into the exact value.
            connect(edit, &QLineEdit::textEdited, this, [this, which] { FieldEdited(which); });
            // Enter shows the typed values at once, as leaving the field does.
            connect(edit, &QLineEdit::returnPressed, this, [this] {
                if (IViewSettingsTarget* t = Target())
                    t->RepaintNow();
            });
            edit->installEventFilter(this);
        }
        layout->addWidget(box);
    }
}

void CCameraSettingsDlg::Bind(CQuivraDoc* doc, IDocView* view) {
    m_pDoc = doc;
    m_pView = view;
    ShowValues();
}

IViewSettingsTarget* CCameraSettingsDlg::Target() const {
    IDocView* view = m_pView;
    if (m_pDoc &&
        std::find(m_pDoc->m_views.begin(), m_pDoc->m_views.end(), view) == m_pDoc->m_views.end())
        view = m_pDoc->m_pView;
    return dynamic_cast<IViewSettingsTarget*>(view);
}

void CCameraSettingsDlg::ShowValues() {
    IViewSettingsTarget* t = Target();
    if (!t)
        return;
    for (int i = 0; i < V::CameraValueCount; ++i)
        m_pFields[i]->SetValue(t->GetCameraValue(static_cast<V::CameraValue>(i)));
}

void CCameraSettingsDlg::Step(V::CameraValue which, bool increase) {
    IViewSettingsTarget* t = Target();
    if (!t)
        return;
    const FieldInfo& f = kFields[which];
    const double step = increase ? f.up : f.down;
    const double v = t->GetCameraValue(which);
    t->SetCameraValue(which, f.multiply ? v * step : v + step);
    t->RepaintNow();
    ShowValues();
}

void CCameraSettingsDlg::FieldEdited(V::CameraValue which) {
    IViewSettingsTarget* t = Target();
    double v = 0.0;
    if (t && numtext::ParseWholeDouble(m_pFields[which]->text(), &v))
        t->SetCameraValue(which, v);
}

bool CCameraSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    // Typed values reach the screen when the user leaves the field.
    if (event->type() == QEvent::FocusOut) {
        if (IViewSettingsTarget* t = Target())
            t->RepaintNow();
    }
    return QDialog::eventFilter(watched, event);
}
