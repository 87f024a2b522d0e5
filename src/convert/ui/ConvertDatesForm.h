#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvin {

class TConvertDatesOptionsFrame;

// The "Convert Dates" dialog: asks whether (prompt layout, shown when an unconverted folder
// is selected) or confirms how (menu layout, from "Convert Dates...") a folder's message
// files get their dates converted.
class TConvertDatesForm : public QDialog {
    Q_OBJECT
public:
    explicit TConvertDatesForm(QWidget *parent = nullptr);

    // True: the menu layout, without the question and the "Do not ask me this again" box,
    // with "OK" and "Cancel". False (the initial layout): the prompt with "Yes" and "No".
    void SetMenuLayout(bool menuLayout);
    bool IsMenuLayout() const { return m_menuLayout; }

    // Shows the folder's display path, runs the dialog modally, centred on the screen, and
    // returns true when it was closed with "Yes" or "OK".
    bool Execute(const QString &displayPath);

    // Whether the dialog should be offered again: "Do not ask me this again" is unticked.
    bool PromptAgain() const;

    TConvertDatesOptionsFrame *ConvertDatesOptions() const { return m_options; }

    QLabel *lblQuestion = nullptr;
    QLabel *lblPurpose = nullptr;
    QLabel *lblDuration = nullptr;
    QLabel *lblFolder = nullptr;
    QLineEdit *edtFolder = nullptr;
    QCheckBox *chkDoNotAsk = nullptr;
    QPushButton *btnYes = nullptr;
    QPushButton *btnNo = nullptr;

protected:
    void changeEvent(QEvent *event) override;

private:
    void layoutControls();

    TConvertDatesOptionsFrame *m_options = nullptr;
    bool m_menuLayout = false;
};

} // namespace tarvin
