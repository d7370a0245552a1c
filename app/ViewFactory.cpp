#include "ViewFactory.h"

#include "CQuivraDoc.h"
#include "CQuivraView.h"
#include "StartupProbe.h"

namespace viewfactory {

QWidget* CreateView(CQuivraDoc* doc, QWidget* parent) {
    auto* view = new CQuivraView(doc, parent);
    ApplySharedSettings(view);
    startupprobe::WatchView(view, [](COpenGLView* v) {
        const CQuivraDoc* shown = static_cast<CQuivraView*>(v)->GetDocument();
        return shown && shown->PointCount() > 0;
    });
    return view;
}

IDocView* DocViewOf(QWidget* view) {
    return qobject_cast<CQuivraView*>(view);
}

void InitialUpdate(QWidget* view) {
    if (auto* quivraView = qobject_cast<CQuivraView*>(view))
        quivraView->OnInitialUpdate();
}

} // namespace viewfactory
