#pragma once

// The enable and check state a command target reports for one command id, the way menu and
// toolbar entries are brought up to date before they are seen.
class CCmdUI {
public:
    void Enable(bool enabled = true) { m_bEnabled = enabled; }
    void SetCheck(bool checked = true) {
        m_bCheckable = true;
        m_bChecked = checked;
    }

    bool m_bEnabled = true;
    bool m_bCheckable = false;
    bool m_bChecked = false;
};
