#pragma once

#include "UffWriter.h"

#include <QDialog>

class QComboBox;

// Asks what the scene's numbers are before a Universal File export: the length unit of the
// coordinates and the quantity of the measured values, which datasets 164 and 55 state.
class CUffExportDlg : public QDialog {
    Q_OBJECT
public:
    CUffExportDlg(const UffWriter::Options& initial, QWidget* parent = nullptr);
    UffWriter::Options Options() const;

private:
    QComboBox* m_pLength;
    QComboBox* m_pQuantity;
};
