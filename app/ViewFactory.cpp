#include "ViewFactory.h"

#include "CQuivraView.h"

namespace viewfactory {

QWidget* CreateView(CQuivraDoc* doc, QWidget* parent) {
    auto* view = new CQuivraView(doc, parent);
    ApplySharedSettings(view);
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
