#pragma once

#include "InstrumentTransfer.h"

#include <QDialog>
#include <QPointer>

#include <atomic>
#include <functional>

class CImportedMeasDlg;
class CQuivraDoc;
class QButtonGroup;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;

// "Transfer Measurements": lists the measurement sets the instrument holds ("Update") and
// fetches the selected one into the document's imported records ("OK"). Every exchange opens
// the port, talks to the instrument in a worker thread for at most a few seconds and closes the
// port again, while the program stays responsive; "Cancel" ends it. What went wrong is shown in
// the window itself, not in a message box.
class CTransferDlg : public QDialog {
    Q_OBJECT
public:
    // `opener` opens COM port 1..4 (the settings' devices in the program, a test's device in
    // tests).
    explicit CTransferDlg(InstrumentTransfer::PortOpener opener, QWidget* parent = nullptr);
    // Cancels a running exchange and waits for its thread.
    ~CTransferDlg() override;

    // The document the records go to; not owned; may be null.
    void Bind(CQuivraDoc* doc);
    // The window that lists the records after a transfer, and how to show it (empty: its own
    // show()). Not owned.
    void SetImportedWindow(CImportedMeasDlg* dlg, std::function<void()> show = {});
    // The document re-bound its windows to another view: list the sets again. While the window
    // is hidden the instrument is left alone; the next showing lists them anyway.
    void OnRebind();

    // "Update": the set names of the instrument on port m_nPort. Returns at once; the list
    // fills when the instrument has answered.
    void UpdateList();
    // "OK": fetches the first selected set; the window hides when it has arrived.
    void OnOK();
    // A "Com Port" radio button: port n (1..4), then a new listing. A running exchange with
    // the previous port is cancelled and its sets leave the list at once.
    void OnPort(int n);
    // "Cancel": ends a running exchange within one port wait slice and says so; without one,
    // hides the window.
    void OnCancel();
    bool IsBusy() const { return m_pWorker != nullptr; }

    int Port() const { return m_nPort; }
    QListWidget* List() const { return m_pList; }
    // The last operation's outcome as shown to the user; empty after success.
    QString StatusText() const;
    InstrumentTransfer& Transfer() { return m_transfer; }

    QProgressBar* Progress() const { return m_pProgress; }

signals:
    // An exchange ended (done, failed or cancelled) and its outcome is shown.
    void ExchangeFinished();

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void SetStatus(const QString& text);
    // Runs `work` in a worker thread that owns the port, then `done(ok, message)` here unless
    // cancelled.
    void Start(std::function<bool(QString*)> work, std::function<void(bool, const QString&)> done);
    // Cancels and joins a running exchange; true when there was one.
    bool Cancel();
    void SetBusy(bool busy);

    CQuivraDoc* m_pDoc = nullptr; // not owned
    QPointer<CImportedMeasDlg> m_pImported;
    std::function<void()> m_showImported;
    int m_nPort = 1;
    InstrumentTransfer m_transfer; // holds the last good set
    QListWidget* m_pList;
    QButtonGroup* m_pPorts;
    QLabel* m_pStatus;
    QProgressBar* m_pProgress;
    QPushButton* m_pUpdate;
    QPushButton* m_pOK;
    QThread* m_pWorker = nullptr; // owned while an exchange runs
    std::atomic_bool m_bCancel{false};
    unsigned m_nRun = 0; // tells a finished exchange from a cancelled one
};
