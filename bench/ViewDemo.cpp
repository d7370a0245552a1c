// Shows a scene in a CQuivraView and animates it: the check that the widget works in a real
// window (for instance under xvfb-run, with a screenshot taken from outside).
//   view_demo [FILE.qvr] [--grab OUT.png] [--after MS]
//   view_demo --save OUT.qvr      writes the generated scene and exits
// Without a file it shows a generated box with three measured corners.
#include "BoxObject.h"
#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "SceneFile.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

void MakeBox(CQuivraDoc& doc) {
    doc.AddSeries();
    auto* box = new BoxObject(&doc);
    doc.m_objects.push_back(box);
    CornerPoint* c[8];
    for (int i = 0; i < 8; ++i) {
        c[i] =
            new CornerPoint((i & 1) ? 400 : -400, (i & 2) ? 250 : -250, (i & 4) ? 300 : -300, &doc);
        c[i]->m_pOwner = box;
        box->m_points.push_back(c[i]);
    }
    const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                              {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges)
        box->m_lines.push_back(new Line(c[e[0]], c[e[1]]));
    const struct {
        int point;
        std::uint16_t code;
        double amplitude, phase;
    } meas[] = {{3, DirPlusX, 80, 0}, {7, DirPlusY, 60, 90}, {6, DirMinusZ, 50, 45}};
    for (const auto& m : meas) {
        auto* d = new MeasDirection(m.code, c[m.point]);
        d->m_measurements[0]->m_dAmplitude = m.amplitude;
        d->m_measurements[0]->m_dPhase = m.phase;
        c[m.point]->m_directions.push_back(d);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString file, grab, save;
    int after = 1000;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--grab") && i + 1 < args.size())
            grab = args[++i];
        else if (args[i] == QLatin1String("--save") && i + 1 < args.size())
            save = args[++i];
        else if (args[i] == QLatin1String("--after") && i + 1 < args.size())
            after = args[++i].toInt();
        else
            file = args[i];
    }
    CQuivraDoc doc;
    if (file.isEmpty()) {
        MakeBox(doc);
        if (!save.isEmpty()) {
            QString error;
            if (!SceneFile::Save(doc, save, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            return 0;
        }
    } else {
        QString error;
        if (!SceneFile::Load(file, doc, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    {
        CQuivraView view(&doc);
        view.setWindowTitle(QStringLiteral("view_demo"));
        view.resize(800, 600);
        view.move(0, 0);
        view.m_dRotX = 20;
        view.m_dRotY = 30;
        view.m_bShowDirections = 1;
        view.m_bShowPointNumbers = 1;
        view.show();
        view.OnInitialUpdate();
        view.activateWindow();
        view.setFocus();
        view.OnToggleAnimation();
        if (!grab.isEmpty())
            QTimer::singleShot(after, &view, [&view, &grab] {
                view.grab().save(grab);
                QCoreApplication::quit();
            });
        return app.exec();
    }
}
