#include "CQuivraDoc.h"

#include "CornerPoint.h"
#include "IDocView.h"
#include "IToolWindows.h"
#include "Line.h"
#include "MeasDirection.h"
#include "Measurement.h"
#include "SceneObject.h"
#include "VectorUtil.h"

#include <unordered_map>

IDocView* CQuivraDoc::s_pLastBoundView = nullptr;

void SeriesColumns::Append(const std::string& name, std::int32_t freqUnit, std::int32_t freqFlag,
                           double frequency, std::int32_t framesPerPeriod, double amplification) {
    m_seriesNames.push_back(name);
    m_seriesFreqUnit.push_back(freqUnit);
    m_seriesFreqFlag.push_back(freqFlag);
    m_seriesFrequency.push_back(frequency);
    m_seriesFramesPerPeriod.push_back(framesPerPeriod);
    m_seriesAmplification.push_back(amplification);
}

template <class T> static void EraseAt(std::vector<T>& v, int k) {
    if (k >= 0 && static_cast<std::size_t>(k) < v.size())
        v.erase(v.begin() + k);
}

void SeriesColumns::Remove(int k) {
    EraseAt(m_seriesNames, k);
    EraseAt(m_seriesFreqUnit, k);
    EraseAt(m_seriesFreqFlag, k);
    EraseAt(m_seriesFrequency, k);
    EraseAt(m_seriesFramesPerPeriod, k);
    EraseAt(m_seriesAmplification, k);
}

void SeriesColumns::Clear() {
    *this = SeriesColumns();
}

bool SeriesColumns::operator==(const SeriesColumns& o) const {
    return m_seriesNames == o.m_seriesNames && m_seriesFreqUnit == o.m_seriesFreqUnit &&
           m_seriesFreqFlag == o.m_seriesFreqFlag && m_seriesFrequency == o.m_seriesFrequency &&
           m_seriesFramesPerPeriod == o.m_seriesFramesPerPeriod &&
           m_seriesAmplification == o.m_seriesAmplification;
}

CQuivraDoc::CQuivraDoc() : m_pOrigin(new CornerPoint) {}

CQuivraDoc::~CQuivraDoc() {
    // Windows first: they hold pointers into the scene.
    m_pToolWindows.reset();
    DestroyRecords(m_freePoints, m_objects, m_freeLines);
    DestroyRecords(m_undoFreePoints, m_undoObjects, m_undoFreeLines);
    DestroyRecords(m_redoFreePoints, m_redoObjects, m_redoFreeLines);
    ClearSelection();
    delete m_pOrigin;
    if (s_pLastBoundView &&
        std::find(m_views.begin(), m_views.end(), s_pLastBoundView) != m_views.end())
        s_pLastBoundView = nullptr;
}

void CQuivraDoc::AddSeries() {
    ForEachPoint([](CornerPoint* p) {
        for (MeasDirection* d : p->m_directions)
            d->m_measurements.push_back(new Measurement(0.0, 0.0));
    });
    Append("New Measurement", 0, 1, 1000.0, 24, 1.0);
    m_nSeries += 1;
}

void CQuivraDoc::RemoveSeries(int k) {
    if (k < 0 || k >= m_nSeries)
        return;
    ForEachPoint([k](CornerPoint* p) {
        for (MeasDirection* d : p->m_directions) {
            if (static_cast<std::size_t>(k) < d->m_measurements.size()) {
                delete d->m_measurements[k];
                d->m_measurements.erase(d->m_measurements.begin() + k);
            }
        }
    });
    Remove(k);
    m_nSeries -= 1;
}

std::vector<CornerPoint*> CQuivraDoc::AllPoints() const {
    std::vector<CornerPoint*> all;
    all.reserve(PointCount());
    ForEachPoint([&all](CornerPoint* p) { all.push_back(p); });
    return all;
}

std::size_t CQuivraDoc::PointCount() const {
    std::size_t n = m_freePoints.size();
    for (const SceneObject* o : m_objects)
        n += o->m_points.size();
    return n;
}

void CQuivraDoc::ClearSelection() {
    m_selPoints.clear();
    m_selObjects.clear();
    m_pHighlightPoint = nullptr;
}

void CQuivraDoc::DestroyRecords(std::vector<CornerPoint*>& points,
                                std::vector<SceneObject*>& objects, std::vector<Line*>& lines) {
    // Everything goes, so the per-record unregistering (linear searches of the document's
    // arrays) would only cost time: detach the records from the document first. The result is
    // the same as destroying them one by one.
    std::vector<CornerPoint*> p;
    std::vector<SceneObject*> o;
    std::vector<Line*> l;
    p.swap(points);
    o.swap(objects);
    l.swap(lines);
    for (Line* line : l)
        delete line;
    for (CornerPoint* point : p) {
        point->m_pDoc = nullptr;
        point->m_pOwner = nullptr;
        delete point;
    }
    for (SceneObject* obj : o) {
        obj->m_pDoc = nullptr;
        for (CornerPoint* point : obj->m_points)
            point->m_pDoc = nullptr;
        delete obj;
    }
}

void CQuivraDoc::DestroyScene() {
    DestroyRecords(m_freePoints, m_objects, m_freeLines);
    ClearSelection();
}

void CQuivraDoc::CopyScene(const std::vector<CornerPoint*>& srcPoints,
                           const std::vector<SceneObject*>& srcObjects,
                           const std::vector<Line*>& srcLines, std::vector<CornerPoint*>& dstPoints,
                           std::vector<SceneObject*>& dstObjects, std::vector<Line*>& dstLines) {
    // Only the ends of free lines need their copies looked up: the map holds just those, so a
    // big scene with few free lines is copied without hashing every point.
    std::unordered_map<const CornerPoint*, CornerPoint*> map;
    map.reserve(srcLines.size() * 2);
    for (const Line* l : srcLines) {
        map.emplace(l->m_pPointA, nullptr);
        map.emplace(l->m_pPointB, nullptr);
    }
    auto note = [&map](const CornerPoint* from, CornerPoint* to) {
        if (map.empty())
            return;
        const auto it = map.find(from);
        if (it != map.end() && !it->second)
            it->second = to; // the first copy of a point listed twice, as before
    };
    dstPoints.reserve(srcPoints.size());
    for (const CornerPoint* p : srcPoints) {
        CornerPoint* c = p->Copy();
        note(p, c);
        dstPoints.push_back(c);
    }
    dstObjects.reserve(srcObjects.size());
    for (const SceneObject* o : srcObjects) {
        SceneObject* c = o->Clone();
        for (std::size_t j = 0; j < o->m_points.size() && j < c->m_points.size(); ++j)
            note(o->m_points[j], c->m_points[j]);
        dstObjects.push_back(c);
    }
    dstLines.reserve(srcLines.size());
    for (const Line* l : srcLines) {
        CornerPoint* a = map.at(l->m_pPointA);
        CornerPoint* b = map.at(l->m_pPointB);
        if (a && b)
            dstLines.push_back(new Line(a, b));
    }
}

int CQuivraDoc::SaveUndoState() {
    DestroyRecords(m_redoFreePoints, m_redoObjects, m_redoFreeLines);
    m_bRedoAvailable = 0;
    m_laterEdits = SceneChanges();
    DestroyRecords(m_undoFreePoints, m_undoObjects, m_undoFreeLines);
    CopyScene(m_freePoints, m_objects, m_freeLines, m_undoFreePoints, m_undoObjects,
              m_undoFreeLines);
    m_undoNextPointNumber = m_nNextPointNumber;
    m_undoNextDirectionNumber = m_nNextDirectionNumber;
    m_undoSeries = m_nSeries;
    m_undoColumns = static_cast<const SeriesColumns&>(*this);
    m_bUndoClean = !m_bModified;
    m_nUndoSaveCount = m_nSaveCount;
    m_bUndoAvailable = 1;
    return 1;
}

int CQuivraDoc::Undo() {
    if (!m_bUndoAvailable)
        return 0;
    // The live records move to the redo arrays whole; nothing else may hold them afterwards.
    DestroyRecords(m_redoFreePoints, m_redoObjects, m_redoFreeLines);
    m_redoFreePoints.swap(m_freePoints);
    m_redoObjects.swap(m_objects);
    m_redoFreeLines.swap(m_freeLines);
    m_redoNextPointNumber = m_nNextPointNumber;
    m_redoNextDirectionNumber = m_nNextDirectionNumber;
    m_redoSeries = m_nSeries;
    m_redoColumns = static_cast<const SeriesColumns&>(*this);
    m_bRedoClean = !m_bModified;
    m_nRedoSaveCount = m_nSaveCount;
    m_bRedoAvailable = 1;
    m_laterEdits = SceneChanges();
    CopyScene(m_undoFreePoints, m_undoObjects, m_undoFreeLines, m_freePoints, m_objects,
              m_freeLines);
    m_nNextPointNumber = m_undoNextPointNumber;
    m_nNextDirectionNumber = m_undoNextDirectionNumber;
    m_nSeries = m_undoSeries;
    static_cast<SeriesColumns&>(*this) = m_undoColumns;
    ClearSelection();
    // The snapshot holds everything the file holds, so it equals the file exactly when it was
    // taken unmodified and nothing was saved since.
    SetModifiedFlag(!(m_bUndoClean && m_nUndoSaveCount == m_nSaveCount));
    UpdateAllViews();
    m_bUndoAvailable = 0;
    return 1;
}

int CQuivraDoc::Redo() {
    if (!m_bRedoAvailable)
        return 0;
    DestroyRecords(m_freePoints, m_objects, m_freeLines);
    m_freePoints.swap(m_redoFreePoints);
    m_objects.swap(m_redoObjects);
    m_freeLines.swap(m_redoFreeLines);
    m_nNextPointNumber = m_redoNextPointNumber;
    m_nNextDirectionNumber = m_redoNextDirectionNumber;
    m_nSeries = m_redoSeries;
    static_cast<SeriesColumns&>(*this) = m_redoColumns;
    ClearSelection();
    SetModifiedFlag(!(m_bRedoClean && m_nRedoSaveCount == m_nSaveCount));
    UpdateAllViews();
    m_bRedoAvailable = 0;
    m_bUndoAvailable = 1;
    m_laterEdits = SceneChanges();
    return 1;
}

SceneChanges CQuivraDoc::ChangesLostByUndo() const {
    return m_bUndoAvailable ? m_laterEdits : SceneChanges();
}

SceneChanges CQuivraDoc::ChangesLostByRedo() const {
    return m_bRedoAvailable ? m_laterEdits : SceneChanges();
}

void CQuivraDoc::AddView(IDocView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CQuivraDoc::RemoveView(IDocView* view) {
    RemoveFirst(m_views, view);
    if (m_pView == view)
        m_pView = m_views.empty() ? nullptr : ChooseView();
    if (s_pLastBoundView == view)
        s_pLastBoundView = nullptr;
}

void CQuivraDoc::UpdateAllViews() {
    for (IDocView* v : m_views)
        v->OnDocumentChanged();
}

IDocView* CQuivraDoc::ChooseView() const {
    for (IDocView* v : m_views)
        if (v->IsFocusedView())
            return v;
    return m_views.empty() ? nullptr : m_views.back();
}

void CQuivraDoc::BindToolWindows() {
    if (!m_pToolWindows)
        return;
    IDocView* view = ChooseView();
    if (view == s_pLastBoundView)
        return;
    s_pLastBoundView = view;
    m_pView = view;
    m_pToolWindows->Bind(this, view);
}

namespace {
// The counter hands out its value and then steps on, so the largest number itself stays unused.
bool CounterHas(std::int32_t next, std::int64_t count) {
    return count <= static_cast<std::int64_t>(INT32_MAX) - next;
}
} // namespace

bool CQuivraDoc::HasPointNumbers(std::int64_t count) const {
    return CounterHas(m_nNextPointNumber, count);
}

bool CQuivraDoc::HasDirectionNumbers(std::int64_t count) const {
    return CounterHas(m_nNextDirectionNumber, count);
}

QString CQuivraDoc::PointNumbersUsedUp() {
    return QStringLiteral("The corner point numbers are used up; Compact in \"Edit Corner Points\" "
                          "renumbers them. Nothing was changed.");
}

QString CQuivraDoc::DirectionNumbersUsedUp() {
    return QStringLiteral("The direction numbers are used up; Compact in the measurements window "
                          "renumbers them. Nothing was changed.");
}
