#include "SeriesNameInput.h"

#include <QLineEdit>

#include <climits>

QString StorableSeriesName(const QString& text, QString* dropped) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() <= 0xFF) {
            kept += c;
            continue;
        }
        // A character beyond the basic plane is a surrogate pair: refused as one.
        QString one(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            one += text[++i];
        if (dropped && !dropped->contains(one))
            *dropped += one;
    }
    return kept;
}

QString SeriesNameHint(const QString& dropped) {
    return QStringLiteral("A series name can hold only Latin-1 characters (the file stores one "
                          "byte each); \"%1\" left out.")
        .arg(dropped);
}

void FilterSeriesNameInput(QLineEdit* edit, std::function<void(const QString&)> hint) {
    edit->setMaxLength(INT_MAX);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, hint](const QString& text) {
        QString dropped;
        const QString kept = StorableSeriesName(text, &dropped);
        if (dropped.isEmpty())
            return;
        // The cursor stays where it was, less the characters taken out before it.
        const int cursor = edit->cursorPosition();
        const int removedBefore =
            cursor - static_cast<int>(StorableSeriesName(text.left(cursor)).size());
        edit->setText(kept);
        edit->setModified(true);
        edit->setCursorPosition(cursor - removedBefore);
        if (hint)
            hint(SeriesNameHint(dropped));
    });
}
