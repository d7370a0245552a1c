#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Series names are stored as 8-bit Latin-1 bytes: a character outside Latin-1 cannot be kept.
// The name fields refuse such characters as they are typed or pasted and say so, rather than
// letting the file receive '?' in their place.

// `text` without the characters a series name cannot hold; `dropped` gets those (each once).
QString StorableSeriesName(const QString& text, QString* dropped = nullptr);
// The hint shown when characters were refused.
QString SeriesNameHint(const QString& dropped);
// Filters what the user types or pastes into `edit` and calls `hint` with the hint when
// something was refused. Also lifts the line edit's default limit of 32,767 characters, which
// would cut a longer stored name as soon as it is shown.
void FilterSeriesNameInput(QLineEdit* edit, std::function<void(const QString&)> hint);
