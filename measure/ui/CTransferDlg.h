#pragma once

#include "InstrumentTransfer.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class CImportedMeasDlg;
class CQuivraDoc;
class QButtonGroup;
class QLabel;
class QListWidget;

// "Transfer Measurements": lists the measurement sets the instrument holds ("Update") and
// fetches the selected one into the document's imported records ("OK"). Every exchange opens
// the port, blocks with a busy cursor for at most a few seconds and closes the port again;
// what went wrong is shown in the window itself, not in a message box.
class CTransferDlg : public QDialog {
    Q_OBJECT
public:
    // `opener` opens COM port 1..4 (the settings' devices in the program, a test's device in
    // tests).
    explicit CTransferDlg(InstrumentTransfer::PortOpener opener, QWidget* parent = nullptr);

    // The document the records go to; not owned; may be null.
    void Bind(CQuivraDoc* doc);
    // The window that lists the records after a transfer, and how to show it (empty: its own
    // show()). Not owned.
    void SetImportedWindow(CImportedMeasDlg* dlg, std::function<void()> show = {});
    // The document re-bound its windows to another view: list the sets again. While the window
    // is hidden the instrument is left alone; the next showing lists them anyway.
    void OnRebind();

    // "Update": the set names of the instrument on port m_nPort.
    void UpdateList();
    // "OK": fetches the first selected set.
    void OnOK();
    // A "Com Port" radio button: port n (1..4), then a new listing.
    void OnPort(int n);

    int Port() const { return m_nPort; }
    QListWidget* List() const { return m_pList; }
    // The last operation's outcome as shown to the user; empty after success.
    QString StatusText() const;
    InstrumentTransfer& Transfer() { return m_transfer; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void SetStatus(const QString& text);

    CQuivraDoc* m_pDoc = nullptr; // not owned
    QPointer<CImportedMeasDlg> m_pImported;
    std::function<void()> m_showImported;
    int m_nPort = 1;
    InstrumentTransfer m_transfer; // holds the last good set
    QListWidget* m_pList;
    QButtonGroup* m_pPorts;
    QLabel* m_pStatus;
};
