#pragma once

// A running shell per test: fresh settings, scripted answers instead of modal dialogs.
#include "CAppDocument.h"
#include "CChildFrame.h"
#include "CDocTemplate.h"
#include "CMainFrame.h"
#include "CPrompts.h"
#include "CQuivraApp.h"
#include "CQuivraDoc.h"
#include "SceneFile.h"
#include "TestFiles.h"
#include "TestScenes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        CPrompts::Message = [this](QWidget*, const QString& text) { m_messages.append(text); };
        CPrompts::AskYesNoCancel = [this](QWidget*, const QString& text) {
            m_questions.append(text);
            return m_answer;
        };
        CPrompts::AskYesNo = [this](QWidget*, const QString& text) {
            m_questions.append(text);
            return m_answer == CPrompts::Yes;
        };
        CPrompts::OpenFileName = [this](QWidget*, const QString& filter, const QString& folder) {
            m_filters.append(filter);
            m_folders.append(folder);
            return m_openPath;
        };
        CPrompts::SaveFileName = [this](QWidget*, const QString& suggested, const QString& filter) {
            m_suggested.append(suggested);
            m_filters.append(filter);
            return m_savePath;
        };
        CPrompts::UffExportOptions = [this](QWidget*, UffWriter::Options& o) {
            m_uffOffered.append(o);
            o = m_uffChoice;
            return true;
        };
        ASSERT_TRUE(m_tmp.isValid());
    }

    void TearDown() override {
        m_app.reset();
        CPrompts::Reset();
    }

    static void ClearSettings() {
        QSettings(QStringLiteral("Stellmark"), QStringLiteral("Quivra")).clear();
    }

    // Starts the program with `files` on its command line.
    bool Start(const QStringList& files = {}) {
        m_app = std::make_unique<CQuivraApp>();
        const bool ok = m_app->InitInstance(QStringList{QStringLiteral("quivra")} + files);
        QApplication::processEvents();
        return ok;
    }
    // Ends the program as the user's close of the main window does (without the event loop).
    void Stop() {
        if (m_app && m_app->MainFrame())
            m_app->MainFrame()->close();
        m_app.reset();
    }

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    QAction* Action(int id) const { return Frame()->Action(id); }
    bool Enabled(int id) const {
        Frame()->UpdateCmdUI();
        return Action(id) && Action(id)->isEnabled();
    }
    bool Run(int id) {
        const bool ran = Frame()->ExecuteCommand(id);
        QApplication::processEvents();
        return ran;
    }
    CAppDocument* ActiveDoc() const { return Frame()->ActiveDocument(); }
    int DocCount() const { return static_cast<int>(m_app->DocTemplate()->Documents().size()); }

    // A scene file of our own making (the model tests' sample: free points with directions,
    // a box, a cylinder, free lines, two series) in the temporary folder.
    QString MakeScene(const QString& name = QStringLiteral("copy.qvr")) {
        CQuivraDoc doc;
        testscenes::BuildSample(doc);
        const QString path = m_tmp.filePath(name);
        QString error;
        EXPECT_TRUE(SceneFile::Save(doc, path, &error)) << error.toStdString();
        return path;
    }
    static QByteArray ReadAll(const QString& path) { return ReadBytes(path); }

    std::unique_ptr<CQuivraApp> m_app;
    QTemporaryDir m_tmp;
    QStringList m_messages, m_questions, m_filters, m_suggested, m_folders;
    CPrompts::Answer m_answer = CPrompts::Cancel;
    QList<UffWriter::Options> m_uffOffered; // what the export dialog started from
    UffWriter::Options m_uffChoice;         // and what the user chose there
    QString m_openPath, m_savePath;
};
