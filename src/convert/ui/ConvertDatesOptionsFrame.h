#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace tarvin {

// The conversion options: which viewer the file dates suit (Tarvin's local clock values or
// File Explorer's UTC times) and whether subfolders are converted too. Used by the "Convert
// Dates" dialog and the options dialog; the callers set both choices before showing it.
class TConvertDatesOptionsFrame : public QFrame {
    Q_OBJECT
public:
    explicit TConvertDatesOptionsFrame(QWidget *parent = nullptr);

    // "File Explorer" is chosen: UTC file times.
    bool UseUtc() const;
    void SetUseUtc(bool value);
    // "Convert subfolders" is ticked.
    bool ConvertSubfolders() const;
    void SetConvertSubfolders(bool value);

    QLabel *lblHeading = nullptr;
    QRadioButton *rbnTarvin = nullptr;
    QLabel *lblTarvinInfo = nullptr;
    QRadioButton *rbnFileExplorer = nullptr;
    QLabel *lblFileExplorerInfo = nullptr;
    QCheckBox *chkConvertSubfolders = nullptr;

protected:
    void changeEvent(QEvent *event) override;

private:
    void layoutControls();
};

} // namespace tarvin
