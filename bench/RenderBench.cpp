// One frame's cost (render + copy into the widget's backing image) against scene size, at
// 1280x800: N lines over N corner points, at rest with markers and animating, in the classic
// and in the clear look, each drawn full and as the view draws it while the picture moves
// (reduced once a full frame is over the budget); every figure also as a multiple of a
// yardstick measured in the same run, with the goals met or not.
//   render_bench [frames per case] [lines]
//   render_bench --dump lines file   (the scene as text, for bench/vtk_compare.py)
#include "COffscreenGL.h"
#include "CQuivraDoc.h"
#include "CSceneRenderer.h"
#include "CViewState.h"
#include "CornerPoint.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"

#include "OSMesaApi.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// A wire model of `n` points in a box of +-600 units, each joined to the next (n lines),
// every point swinging along one axis with its own phase.
std::unique_ptr<CQuivraDoc> MakeScene(int n) {
    auto doc = std::make_unique<CQuivraDoc>();
    doc->AddSeries();
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> pos(-600.0, 600.0);
    std::uniform_real_distribution<double> step(-40.0, 40.0);
    std::uniform_real_distribution<double> phase(0.0, 360.0);
    const std::uint16_t codes[] = {DirPlusX, DirPlusY, DirPlusZ};
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < n; ++i) {
        // Short strokes with a jump now and then, like many small parts of a machine.
        if (i % 50 == 0) {
            x = pos(rng);
            y = pos(rng);
            z = pos(rng);
        } else {
            x = std::clamp(x + step(rng), -600.0, 600.0);
            y = std::clamp(y + step(rng), -600.0, 600.0);
            z = std::clamp(z + step(rng), -600.0, 600.0);
        }
        auto* p = new CornerPoint(x, y, z, doc.get());
        doc->m_freePoints.push_back(p);
        auto* d = new MeasDirection(codes[i % 3], p);
        d->m_measurements[0]->m_dAmplitude = 15.0;
        d->m_measurements[0]->m_dPhase = phase(rng);
        p->m_directions.push_back(d);
    }
    for (int i = 0; i < n; ++i)
        doc->m_freeLines.push_back(new Line(doc->m_freePoints[i], doc->m_freePoints[(i + 1) % n]));
    return doc;
}

// The yardstick: the scene's lines and points in plain immediate mode, nothing else, as the
// machine's reference figures were taken. Run in the same session it shows how loaded the
// machine is.
double ReferenceFrame(COffscreenGL& gl, const CQuivraDoc& doc, const CViewState& st) {
    QElapsedTimer t;
    t.start();
    gl.MakeCurrent();
    glClearColor(1, 1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glRotatef(static_cast<float>(st.m_dRotX), 1, 0, 0);
    glRotatef(static_cast<float>(st.m_dRotY), 0, 1, 0);
    glScaled(st.m_dZoom * 0.001, st.m_dZoom * 0.001, st.m_dZoom * 0.001);
    glColor3f(0, 0, 0);
    glBegin(GL_LINES);
    for (const Line* l : doc.m_freeLines) {
        glVertex3d(l->m_pPointA->m_x, l->m_pPointA->m_y, l->m_pPointA->m_z);
        glVertex3d(l->m_pPointB->m_x, l->m_pPointB->m_y, l->m_pPointB->m_z);
    }
    glEnd();
    glEnable(GL_POINT_SMOOTH);
    glPointSize(3);
    glColor3f(1, 0, 0);
    glBegin(GL_POINTS);
    for (const CornerPoint* p : doc.m_freePoints)
        glVertex3d(p->m_x, p->m_y, p->m_z);
    glEnd();
    glPopMatrix();
    glFinish();
    return t.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One way of drawing a frame, with its own context, renderer and camera, so that the cases
// can take turns: a machine whose load changes then shifts all of them alike.
struct Case {
    const char* name;
    bool reference = false, animating = false, turning = false, restLayer = true;
    int look = CViewState::LookClassic;
    // Drawn as the view draws while the picture moves: reduced once a full frame was too slow.
    bool moving = false;
    COffscreenGL gl;
    CSceneRenderer renderer;
    CViewState st;
    std::vector<double> render, copy;
    int reduced = 0;
    double Total() const { return Median(render) + Median(copy); }
};

void Frame(Case& c, CQuivraDoc& doc, QImage& backing, bool measured) {
    // The camera turns a little every frame when dragged; the animation steps.
    if (c.turning)
        c.st.m_dRotY += 1.0;
    if (c.animating)
        c.st.m_nFrame = (c.st.m_nFrame + 1) % 24;
    QElapsedTimer t;
    t.start();
    if (c.reference)
        ReferenceFrame(c.gl, doc, c.st);
    else
        c.renderer.RenderFrame(c.gl, doc, c.st, kWidth, kHeight);
    const qint64 r = t.nsecsElapsed();
    if (!c.reference) {
        QPainter p(&backing);
        p.drawImage(0, 0, c.gl.Image());
    }
    const qint64 done = t.nsecsElapsed();
    if (measured) {
        c.render.push_back(r / 1e6);
        c.copy.push_back((done - r) / 1e6);
        c.reduced += c.renderer.LastFrameReduced() ? 1 : 0;
    }
}

const char* Verdict(bool met) {
    return met ? "met" : "not met";
}

// The cases of one scene size, in the order they take turns. The three moving cases come in
// both looks, full and as the view draws them in motion.
enum {
    Reference,
    Rest,
    Anim,
    AnimNoLayer,
    AnimTurn,
    RestMoving,
    AnimMoving,
    AnimTurnMoving,
    ClearRest,
    ClearAnim,
    ClearAnimTurn,
    ClearRestMoving,
    ClearAnimMoving,
    ClearAnimTurnMoving,
    CaseCount
};

void SetUp(Case* cases) {
    struct Def {
        const char* name;
        bool animating, turning, restLayer, clear, moving;
    };
    static const Def defs[CaseCount] = {
        {"reference: lines + smooth points", false, true, true, false, false},
        {"full: at rest, camera turning", false, true, true, false, false},
        {"full: animating, camera still", true, false, true, false, false},
        {"full: animating, still, no rest layer", true, false, false, false, false},
        {"full: animating, camera turning", true, true, true, false, false},
        {"moving: at rest, camera turning", false, true, true, false, true},
        {"moving: animating, camera still", true, false, true, false, true},
        {"moving: animating, camera turning", true, true, true, false, true},
        {"clear full: at rest, turning", false, true, true, true, false},
        {"clear full: animating, still", true, false, true, true, false},
        {"clear full: animating, turning", true, true, true, true, false},
        {"clear moving: at rest, turning", false, true, true, true, true},
        {"clear moving: animating, still", true, false, true, true, true},
        {"clear moving: animating, turning", true, true, true, true, true},
    };
    for (int i = 0; i < CaseCount; ++i) {
        const Def& d = defs[i];
        Case& c = cases[i];
        c.name = d.name;
        c.reference = i == Reference;
        c.animating = d.animating;
        c.turning = d.turning;
        c.restLayer = d.restLayer;
        c.look = d.clear ? CViewState::LookClear : CViewState::LookClassic;
        c.moving = d.moving;
    }
}

void Report(Case* cases, int n) {
    const double yard = Median(cases[Reference].render);
    for (int i = 0; i < CaseCount; ++i) {
        const Case& c = cases[i];
        if (c.reference) {
            std::printf("%8d  %-38s %8.2f %8s %8.2f %6.2fx\n", n, c.name, yard, "", yard, 1.0);
            continue;
        }
        char drawn[32] = "";
        if (c.moving)
            std::snprintf(drawn, sizeof drawn, "  reduced %d/%zu", c.reduced, c.render.size());
        std::printf("%8d  %-38s %8.2f %8.2f %8.2f %6.2fx%s\n", n, c.name, Median(c.render),
                    Median(c.copy), c.Total(), c.Total() / yard, drawn);
    }
    // The goals of this size, as ratios measured in this run.
    const double limit = n >= 100000 ? 0.55 : n >= 10000 ? 0.75 : 0.0;
    if (limit > 0.0)
        for (int i : {RestMoving, AnimMoving, AnimTurnMoving, ClearRestMoving, ClearAnimMoving,
                      ClearAnimTurnMoving}) {
            const double ratio = cases[i].Total() / yard;
            std::printf("%8d  goal %-33s %6.2fx yardstick <= %.2fx: %s\n", n, cases[i].name, ratio,
                        limit, Verdict(ratio <= limit));
        }
    if (n <= 1000)
        for (int i : {Rest, Anim, AnimTurn}) {
            const double ms = cases[i].Total();
            std::printf("%8d  goal %-33s %6.2f ms <= 2 ms: %s (%.2fx yardstick)\n", n,
                        cases[i].name, ms, Verdict(ms <= 2.0), ms / yard);
        }
    const double layer = cases[Anim].Total() / cases[AnimNoLayer].Total();
    std::printf("%8d  rest layer: animating still with / without %6.2fx\n", n, layer);
    // The clear look against the classic one, case by case.
    const std::pair<int, int> pairs[] = {{ClearRest, Rest},
                                         {ClearAnim, Anim},
                                         {ClearAnimTurn, AnimTurn},
                                         {ClearRestMoving, RestMoving},
                                         {ClearAnimMoving, AnimMoving},
                                         {ClearAnimTurnMoving, AnimTurnMoving}};
    for (const auto& [clearCase, classicCase] : pairs) {
        const double a = cases[clearCase].Total(), b = cases[classicCase].Total();
        std::printf("%8d  %-38s %8.2f vs %6.2f classic %6.2fx <= 1.5x: %s\n", n,
                    cases[clearCase].name, a, b, a / b, Verdict(a / b <= 1.5));
    }
}

} // namespace

// The scene of `n` lines as text: "points n", one "x y z axis amplitude phase" line per point
// (axis 0..2, phase in degrees), then "lines n" and one "a b" pair of point indices per line.
bool Dump(int n, const char* path) {
    auto doc = MakeScene(n);
    FILE* f = std::fopen(path, "w");
    if (!f)
        return false;
    std::fprintf(f, "points %zu\n", doc->m_freePoints.size());
    for (const CornerPoint* p : doc->m_freePoints) {
        const MeasDirection* d = p->m_directions.front();
        const int axis = d->m_nCode == DirPlusX ? 0 : d->m_nCode == DirPlusY ? 1 : 2;
        std::fprintf(f, "%.17g %.17g %.17g %d %.17g %.17g\n", p->m_x, p->m_y, p->m_z, axis,
                     d->m_measurements[0]->m_dAmplitude, d->m_measurements[0]->m_dPhase);
    }
    std::fprintf(f, "lines %zu\n", doc->m_freeLines.size());
    std::unordered_map<const CornerPoint*, std::size_t> index;
    for (const CornerPoint* p : doc->m_freePoints)
        index.emplace(p, index.size());
    for (const Line* l : doc->m_freeLines)
        std::fprintf(f, "%zu %zu\n", index[l->m_pPointA], index[l->m_pPointB]);
    return std::fclose(f) == 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--dump") == 0)
        return Dump(std::atoi(argv[2]), argv[3]) ? 0 : 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    // Optional: only scenes of this many lines (for profiling one case).
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;

    QImage backing(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    std::printf("median ms per frame at %dx%d, %d frames per case, cases taking turns;\n"
                "\"full\": every frame drawn whole; \"moving\": as the view draws while the "
                "picture moves\n",
                kWidth, kHeight, std::max(1, frames / 4) * 4);
    std::printf("%8s  %-38s %8s %8s %8s %7s\n", "lines", "case", "render", "copy", "total",
                "/yard");
    for (int n : {1000, 10000, 100000}) {
        if (only && n != only)
            continue;
        auto doc = MakeScene(n);
        Case cases[CaseCount];
        SetUp(cases);
        for (Case& c : cases) {
            const QString failure = c.gl.Resize(kWidth, kHeight);
            if (!failure.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(failure));
                return 1;
            }
            c.renderer.m_bUseRestLayer = c.restLayer;
            c.renderer.m_bMoving = c.moving;
            c.st.m_dRotX = 25.0;
            c.st.m_dRotY = 10.0;
            c.st.m_dZoom = CViewState::FitZoom(*doc);
            c.st.m_bAnimating = c.animating;
            c.st.m_nLook = c.look;
        }
        // Cases take turns in blocks; the first frame of a block (another context made
        // current, shaders compiled, the rest layer built, the first full frame of a moving
        // case) is left out.
        const int rounds = std::max(1, frames / 4);
        for (int round = 0; round < rounds; ++round)
            for (Case& c : cases)
                for (int i = 0; i < 5; ++i)
                    Frame(c, *doc, backing, i >= 1);
        Report(cases, n);
        std::fflush(stdout);
    }
    return 0;
}
