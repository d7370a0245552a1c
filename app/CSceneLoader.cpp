#include "CSceneLoader.h"

#include "CQuivraDoc.h"
#include "SceneFile.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

qint64 CSceneLoader::s_nLargeFileBytes = CSceneLoader::kDefaultLargeFileBytes;

CSceneLoader::CSceneLoader(const QString& path, QMainWindow* window, Done done)
    : m_strPath(path), m_pWindow(window), m_fnDone(std::move(done)) {}

CSceneLoader::~CSceneLoader() {
    if (m_pThread) {
        Cancel();
        m_pThread->wait();
        delete m_pThread;
    }
    delete m_pPane.data();
}

void CSceneLoader::Start() {
    if (m_pWindow) {
        m_pPane = new QWidget(m_pWindow->statusBar());
        m_pPane->setObjectName(QStringLiteral("loading"));
        auto* layout = new QHBoxLayout(m_pPane);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(
            QStringLiteral("Loading %1...").arg(QFileInfo(m_strPath).fileName()), m_pPane));
        m_pBar = new QProgressBar(m_pPane);
        m_pBar->setRange(0, 100);
        m_pBar->setValue(0);
        m_pBar->setMaximumWidth(200);
        layout->addWidget(m_pBar);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), m_pPane);
        connect(cancel, &QPushButton::clicked, this, [this, cancel] {
            Cancel();
            cancel->setEnabled(false);
        });
        layout->addWidget(cancel);
        m_pWindow->statusBar()->addPermanentWidget(m_pPane);
        m_pPane->show();
    }
    m_pThread = QThread::create([this] {
        auto doc = std::make_unique<CQuivraDoc>();
        // Called on this thread: only the percent crosses over, and only when it changes.
        const SceneFile::Progress progress = [this](qint64 done, qint64 total) {
            const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
            if (m_nShownPercent.exchange(percent) != percent)
                QMetaObject::invokeMethod(
                    this, [this, percent] { ShowProgress(percent); }, Qt::QueuedConnection);
            return !m_bCancel.load();
        };
        m_bOk = SceneFile::Load(m_strPath, *doc, &m_strError, progress);
        // A cancel after the last check still leaves nothing behind.
        if (m_bCancel.load()) {
            m_bOk = false;
            m_strError.clear();
        }
        if (m_bOk)
            m_pLoaded = std::move(doc);
    });
    connect(m_pThread, &QThread::finished, this, &CSceneLoader::OnWorkerFinished);
    m_pThread->start();
}

void CSceneLoader::ShowProgress(int percent) {
    if (m_pBar && !m_bFinished)
        m_pBar->setValue(percent);
}

void CSceneLoader::OnWorkerFinished() {
    m_bFinished = true;
    m_pThread->wait(); // finished is sent just before the thread ends
    delete m_pThread;
    m_pThread = nullptr;
    delete m_pPane.data();
    m_pBar = nullptr;
    // A Cancel clicked after the worker's last look still counts.
    if (m_bCancel.load()) {
        m_pLoaded.reset();
        m_bOk = false;
        m_strError.clear();
    }
    // The loaded scene's records were made on the worker; from here on only this thread uses
    // them.
    if (m_fnDone)
        m_fnDone(std::move(m_pLoaded), m_bOk ? QString() : m_strError);
}
