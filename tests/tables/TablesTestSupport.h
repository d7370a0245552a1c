#pragma once

// A stand-in for the scene view and small scenes for the table window tests.
#include "CQuivraDoc.h"
#include "IDocView.h"
#include "ISeriesHost.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "TestScenes.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace tablestest {

// Counts repaints and keeps the current series like the scene view does. Every repaint also
// runs one animation step that reads the series arrays at the current index, as the view's
// timer would; an index outside the arrays fails the test (and .at() throws).
class FakeView : public IDocView, public ISeriesHost {
public:
    explicit FakeView(CQuivraDoc* doc) : m_pDoc(doc) { doc->AddView(this); }
    ~FakeView() override { m_pDoc->RemoveView(this); }

    bool IsFocusedView() const override { return true; }
    void OnDocumentChanged() override {
        ++m_nRedraws;
        Tick();
    }
    int CurrentSeries() const override { return m_nCurrentSeries; }
    void SetCurrentSeries(int k) override { m_nCurrentSeries = k; }
    void RepaintNow() override {
        ++m_nRepaintsNow;
        Tick();
    }

    // One animation step: no series means nothing to animate.
    void Tick() {
        const int k = m_nCurrentSeries;
        if (m_pDoc->m_nSeries == 0)
            return;
        ASSERT_GE(k, 0);
        ASSERT_LT(k, m_pDoc->m_nSeries);
        const auto sk = static_cast<std::size_t>(k);
        const int frames = m_pDoc->m_seriesFramesPerPeriod.at(sk);
        ASSERT_GT(frames, 0);
        m_nFrame = (m_nFrame + 1) % frames;
        (void)m_pDoc->m_seriesAmplification.at(sk);
        m_pDoc->ForEachPoint([sk](CornerPoint* p) {
            for (MeasDirection* d : p->m_directions)
                (void)d->m_measurements.at(sk)->m_dAmplitude;
        });
    }

    CQuivraDoc* m_pDoc;
    int m_nCurrentSeries = 0;
    int m_nFrame = 0;
    int m_nRedraws = 0;
    int m_nRepaintsNow = 0;
};

// Shows a window and waits until it has the keyboard focus, so that focus changes reach its
// widgets as they would on a desktop.
inline bool ShowActive(QWidget* w) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

} // namespace tablestest
