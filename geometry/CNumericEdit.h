#pragma once

#include <QLineEdit>

#include <vector>

class QAbstractButton;

class QLabel;

// A single-line field holding a number typed under the user's locale. It knows its form's OK
// button and disables it while its text is not one complete number; the field is then marked,
// and its tooltip and the form's problem line say why.
class CNumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumericEdit(QAbstractButton* okButton = nullptr, QWidget* parent = nullptr);

    // The whole text converts (an empty text counts, as 0).
    virtual bool IsValid() const = 0;
    // Why the text is not valid, in words; empty while it is.
    virtual QString Problem() const = 0;
    // Disables the OK button and marks the field when the text is not valid (unmarks it when it
    // is); returns whether it is.
    bool CheckValue();

    QAbstractButton* OkButton() const { return m_pOkButton; }
    void SetOkButton(QAbstractButton* okButton) { m_pOkButton = okButton; }

    // The rule of every numeric form with an OK button: enable OK, then let every field check
    // itself, so OK ends up enabled exactly while all fields hold numbers.
    // `problemLine` (if given) then tells why the first refused field is refused.
    static void ApplyFieldRule(QAbstractButton* okButton, const std::vector<CNumericEdit*>& fields,
                               QLabel* problemLine = nullptr);
    // Runs ApplyFieldRule whenever any of the fields' texts changes.
    static void ConnectFieldRule(QAbstractButton* okButton,
                                 const std::vector<CNumericEdit*>& fields,
                                 QLabel* problemLine = nullptr);
    // An empty line for the form's layout, above its buttons, where the rule says what is wrong.
    static QLabel* MakeProblemLine(QWidget* form);
    // Tells the user that the form's numbers would put a coordinate beyond the finite doubles
    // and nothing was changed. The box does not block: the form stays open for other values.
    static void ReportOutOfRange(QWidget* form);
    // The same for any other reason a form's command was refused (`text` says it).
    static void ReportRefusal(QWidget* form, const QString& text);

private:
    QAbstractButton* m_pOkButton; // not owned: a sibling in the same form
};
