#pragma once

#include <QLineEdit>

#include <vector>

class QAbstractButton;

// A single-line field holding a number typed under the user's locale. It knows its form's OK
// button and disables it while its text is not one complete number.
class CNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumericEdit(QAbstractButton* okButton = nullptr, QWidget* parent = nullptr);

    // The whole text converts (an empty text counts, as 0).
    virtual bool IsValid() const = 0;
    // Disables the OK button when the text is not valid; returns whether it is.
    bool CheckValue();

    QAbstractButton* OkButton() const { return m_pOkButton; }
    void SetOkButton(QAbstractButton* okButton) { m_pOkButton = okButton; }

    // The rule of every numeric form with an OK button: enable OK, then let every field check
    // itself, so OK ends up enabled exactly while all fields hold numbers.
    static void ApplyFieldRule(QAbstractButton* okButton, const std::vector<CNumericEdit*>& fields);
    // Runs ApplyFieldRule whenever any of the fields' texts changes.
    static void ConnectFieldRule(QAbstractButton* okButton,
                                 const std::vector<CNumericEdit*>& fields);
    // Tells the user that the form's numbers would put a coordinate beyond the finite doubles
    // and nothing was changed. The box does not block: the form stays open for other values.
    static void ReportOutOfRange(QWidget* form);
    // The same for any other reason a form's command was refused (`text` says it).
    static void ReportRefusal(QWidget* form, const QString& text);

private:
    QAbstractButton* m_pOkButton; // not owned: a sibling in the same form
};
