#pragma once

// What the document needs of a view showing it. Views are widgets in a higher layer; the
// document only keeps plain pointers to them and never owns them.
class IDocView {
public:
    virtual ~IDocView() = default;
    // The view marked itself focused when it last received the keyboard focus.
    virtual bool IsFocusedView() const = 0;
    // The scene changed: repaint.
    virtual void OnDocumentChanged() = 0;
};
