#include "ViewFactory.h"

#include "CAppView.h"

namespace viewfactory {

QWidget* CreateView(CQuivraDoc* doc, QWidget* parent) {
    return new CAppView(doc, parent);
}

IDocView* DocViewOf(QWidget* view) {
    return qobject_cast<CQuivraView*>(view);
}

void InitialUpdate(QWidget* view) {
    if (auto* quivraView = qobject_cast<CQuivraView*>(view))
        quivraView->OnInitialUpdate();
}

} // namespace viewfactory
