#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CQuivraDoc;
class QLabel;
class QMainWindow;
class QProgressBar;
class QThread;
class QWidget;

// Reads one large scene file on a worker thread into a document of its own, while the main
// window stays usable: its status bar shows "Loading <file>...", a progress bar and a Cancel
// button. When the worker ends, `done` runs on the GUI thread with the loaded document (null
// when the load failed or was cancelled) and the reason of a failure (empty after a cancel).
// A finished loader may be destroyed at any later time, but not from within `done`.
class CSceneLoader : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(std::unique_ptr<CQuivraDoc> doc, const QString& error)>;

    // Files above this size load this way; smaller ones are read at once.
    static constexpr qint64 kDefaultLargeFileBytes = qint64(8) << 20;
    static qint64 LargeFileBytes() { return s_nLargeFileBytes; }
    // For tests: a small threshold sends small files through the worker.
    static void SetLargeFileBytes(qint64 bytes) { s_nLargeFileBytes = bytes; }

    CSceneLoader(const QString& path, QMainWindow* window, Done done);
    // Cancels and waits for the worker; `done` is not called then.
    ~CSceneLoader() override;

    void Start();
    void Cancel() { m_bCancel.store(true); }
    const QString& Path() const { return m_strPath; }
    bool Finished() const { return m_bFinished; }
    // The status bar's pane (label, bar, Cancel), while loading.
    QWidget* ProgressPane() const { return m_pPane; }

private:
    void ShowProgress(int percent);
    void OnWorkerFinished();

    QString m_strPath;
    QPointer<QMainWindow> m_pWindow;
    Done m_fnDone;
    QThread* m_pThread = nullptr;
    std::atomic<bool> m_bCancel{false};
    std::atomic<int> m_nShownPercent{-1}; // the last percent sent to the GUI thread
    bool m_bFinished = false;
    // Written by the worker, read after it has finished.
    std::unique_ptr<CQuivraDoc> m_pLoaded;
    QString m_strError;
    bool m_bOk = false;
    QPointer<QWidget> m_pPane;
    QProgressBar* m_pBar = nullptr;

    static qint64 s_nLargeFileBytes;
};
