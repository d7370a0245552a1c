#pragma once

#include <array>
#include <functional>

class CQuivraDoc;
class IDocView;
class QWidget;

// The document's ten tool windows, in the order the document holds them.
enum class ToolWindow {
    EditPoints,
    CreateCylinder,
    CreateBox,
    Measurements,
    MeasurementSeries,
    CameraSettings,
    MoveLocalOrigin,
    HelpLines,
    Transfer,
    ImportedMeasurements,
};
constexpr int kToolWindowCount = 10;

// What the bookkeeping needs of one tool window: the window itself (created hidden, owned by
// `owner` on screen, deleted by the document's tool-window set), how to hand it the document
// and view, and how to refresh what it shows. Either function may be empty.
struct ToolWindowParts {
    QWidget* m_pWindow = nullptr;
    std::function<void(CQuivraDoc*, IDocView*)> m_bind;
    std::function<void()> m_refresh;
};

// One factory per window. To put a real form in place of an empty window, change only that
// window's factory in ToolWindowFactories.cpp: create the form and fill m_bind / m_refresh
// with calls to its own Bind and refresh functions.
using ToolWindowFactory = ToolWindowParts (*)(QWidget* owner);

struct ToolWindowInfo {
    ToolWindow m_window;
    const char* m_title; // the form's title
    const char* m_key;   // settings section of its placement
    int m_nCommand;      // the command that shows it
    ToolWindowFactory m_factory;
};

// The table, in document order.
const ToolWindowInfo& ToolWindowInfoOf(ToolWindow window);

// Connects windows that work together, once all ten exist (indexed by ToolWindow).
void LinkToolWindows(const std::array<QWidget*, kToolWindowCount>& windows);
