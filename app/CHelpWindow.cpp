#include "CHelpWindow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const char* const kGuideResource = ":/guide/README.md";
constexpr int kPictureWidth = 640; // the screenshots are wider than the window

// Shows the wide screenshots scaled down, so that the text needs no sideways scrolling.
void FitPictures(QTextDocument* doc) {
    QTextCursor cursor(doc);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage picture(QStringLiteral(":/guide/") + format.name());
            if (picture.width() <= kPictureWidth)
                continue;
            format.setWidth(kPictureWidth);
            format.setHeight(double(picture.height()) * kPictureWidth / picture.width());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent), m_pBrowser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Quivra Help"));
    auto* layout = new QVBoxLayout(this);
    m_pBrowser->setObjectName(QStringLiteral("guide"));
    m_pBrowser->setOpenExternalLinks(true);
    // The guide's pictures lie beside it in the resources, under the README's relative paths.
    m_pBrowser->document()->setBaseUrl(QUrl(QStringLiteral("qrc:/guide/")));
    m_pBrowser->setMarkdown(GuideMarkdown());
    FitPictures(m_pBrowser->document());
    layout->addWidget(m_pBrowser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
    resize(kPictureWidth + 80, 640);
}

CHelpWindow* CHelpWindow::ShowFor(QWidget* owner) {
    auto* help = owner->findChild<CHelpWindow*>(QStringLiteral("help"), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new CHelpWindow(owner);
    help->showNormal();
    help->raise();
    help->activateWindow();
    return help;
}

QString CHelpWindow::GuideMarkdown() {
    QFile file(QString::fromLatin1(kGuideResource));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("# Quivra\n\nThe user's guide is in the README file that comes "
                              "with the program.");
    const QString text = QString::fromUtf8(file.readAll());
    const QString heading = QStringLiteral("## User's guide");
    const qsizetype start = text.indexOf(heading);
    if (start < 0)
        return text;
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + heading.size());
    return text.mid(start, end < 0 ? -1 : end - start);
}
