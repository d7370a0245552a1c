#pragma once

class CCmdUI;

// Something that may carry out commands by id. Commands are offered to the active view, then
// the active document, then the main window, then the application; the first target that
// knows the id handles it.
class ICmdTarget {
public:
    virtual ~ICmdTarget() = default;
    // With `update` null: carry out command `id` and return true, or return false if this
    // target has no handler for it. With `update` set: fill in the command's state instead.
    virtual bool OnCmdMsg(int id, CCmdUI* update) = 0;
};
