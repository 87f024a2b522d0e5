#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QTabWidget;

namespace tarvin {

// The "Options" dialog: whether to offer the date conversion for unconverted folders and the
// choices the conversion starts from (the caller's options frame, shown in the group " Convert
// Dates Utility "), the text added to forwarded messages with message files, and whether
// messages load remote content. The caller fills it, runs it and copies the values back on OK.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    // `convertDatesOptions` (the conversion options frame) is taken into the first page.
    explicit TOptionsForm(QWidget *convertDatesOptions, QWidget *parent = nullptr);

    // The trailer text: put in, it is split into lines at CR LF, CR or LF (a line break at the
    // very end ends the last line); read back, every line is followed by CR LF, the last too.
    void SetViewerTrailer(const QString &text);
    QString ViewerTrailer() const;

    QTabWidget *pgOptions = nullptr;
    QCheckBox *cbAskToConvert = nullptr;
    QGroupBox *grpConvertDates = nullptr;
    QCheckBox *cbAddViewerTrailer = nullptr;
    QPlainTextEdit *edViewerTrailer = nullptr;
    QCheckBox *cbLoadRemoteContent = nullptr;
};

} // namespace tarvin
