#include "ViewFactory.h"

#include "CQuivraView.h"

namespace viewfactory {

QWidget* CreateView(CQuivraDoc* doc, QWidget* parent) {
    return new CQuivraView(doc, parent);
}

IDocView* DocViewOf(QWidget* view) {
    return qobject_cast<CQuivraView*>(view);
}

void InitialUpdate(QWidget* view) {
    if (auto* quivraView = qobject_cast<CQuivraView*>(view))
        quivraView->OnInitialUpdate();
}

} // namespace viewfactory
