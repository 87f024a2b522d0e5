#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace tarvin {

// The about box: banner, product texts from the version information, the program release
// (file version, file date and path) and an OK button.
class TAboutBoxForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBoxForm(QWidget *parent = nullptr);

    QLabel *VersionLabel() const { return m_version; }
    QLabel *CopyrightLabel() const { return m_copyright; }
    QLabel *ReleaseLabel() const { return m_release; }
    QPushButton *OkButton() const { return m_okButton; }

protected:
    // The panel holding banner, texts and release, without the button row.
    QFrame *ContentPanel() const { return m_content; }
    QWidget *ButtonRow() const { return m_buttonRow; }

private:
    QFrame *m_content;
    QWidget *m_buttonRow;
    QLabel *m_productName;
    QLabel *m_description;
    QLabel *m_version;
    QLabel *m_copyright;
    QLabel *m_release;
    QPushButton *m_okButton;
};

} // namespace tarvin
