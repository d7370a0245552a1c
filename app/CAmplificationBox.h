#pragma once

#include <QDoubleSpinBox>

class CQuivraView;

// The live amplification of the active view's series, in the toolbar: typing a value or a step
// of the arrows (each a factor of 1.25) changes the series' amplification and the moving shape
// follows at once. Shown with "%g", so 6 reads 6 and 0.002 reads 0.002.
class CAmplificationBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    static constexpr double kStepFactor = 1.25;

    explicit CAmplificationBox(QWidget* parent = nullptr);

    // Follows `view`'s current series (disabled without one); leaves a value being typed alone.
    void ShowFor(CQuivraView* view);

    void stepBy(int steps) override;
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;

private:
    void Apply(double value);

    CQuivraView* m_pView = nullptr;
};
