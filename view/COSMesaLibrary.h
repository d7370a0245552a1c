#pragma once

#include <QString>

// Opens libOSMesa (and the LLVM it brings) once per process and fills the entry points of
// OSMesaApi.h. The program loads it in the background once its window has painted, so that
// the window does not wait for it; every renderer calls Load() before its first GL call, which
// waits for a load in progress or does it there and then (qvrtool, tests, copies, prints).
class COSMesaLibrary {
public:
    // Opens the library if not done yet (waiting for a background load). True when every entry
    // point was found; the outcome of the first attempt stands for the process.
    static bool Load();
    // Starts Load() on a thread of its own and returns at once; a second call does nothing.
    static void LoadInBackground();
    // Declares that the program loads the library in the background, started by its views after
    // their first paint (a dlopen holds the loader's lock, so one begun before the window would
    // make Qt's own plugin loading wait for it). Until the load ends, IsLoading() is true.
    static void DeferToBackground();
    // True once a load has succeeded (never waits).
    static bool IsReady();
    // True from DeferToBackground or LoadInBackground until the load ends (never waits).
    static bool IsLoading();
    // Why the load failed (empty while none failed).
    static QString Error();

    // For tests: while held, IsLoading() is true and IsReady() false, as if the background
    // load were still running (a view without a context then shows its preview).
    static void HoldForTest(bool hold);
};
