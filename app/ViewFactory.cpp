#include "ViewFactory.h"

#include "CPlaceholderView.h"

namespace viewfactory {

QWidget* CreateView(CQuivraDoc* doc, QWidget* parent) {
    return new CPlaceholderView(doc, parent);
}

IDocView* DocViewOf(QWidget* view) {
    return qobject_cast<CPlaceholderView*>(view);
}

void InitialUpdate(QWidget* view) {
    if (view)
        view->update();
}

bool OnCmdMsg(QWidget*, int, CCmdUI*) {
    return false;
}

} // namespace viewfactory
