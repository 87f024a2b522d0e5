#include "dialogs/ui/OptionsForm.h"

#include "base/ui/WindowSupport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarvin {

namespace {
constexpr int kClientWidth = 466;
constexpr int kClientHeight = 360;
} // namespace

TOptionsForm::TOptionsForm(QWidget *convertDatesOptions, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowIcon(ProductIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    pgOptions = new QTabWidget(this);
    pgOptions->setObjectName(QStringLiteral("pgOptions"));
    layout->addWidget(pgOptions, 1);

    auto *datePage = new QWidget;
    auto *dateLayout = new QVBoxLayout(datePage);
    cbAskToConvert =
        new QCheckBox(QStringLiteral("Ask to convert dates when old messages are found"), datePage);
    cbAskToConvert->setObjectName(QStringLiteral("cbAskToConvert"));
    dateLayout->addWidget(cbAskToConvert);
    grpConvertDates = new QGroupBox(QStringLiteral(" Convert Dates Utility "), datePage);
    grpConvertDates->setObjectName(QStringLiteral("grpConvertDates"));
    auto *groupLayout = new QVBoxLayout(grpConvertDates);
    if (convertDatesOptions)
        groupLayout->addWidget(convertDatesOptions);
    dateLayout->addWidget(grpConvertDates);
    dateLayout->addStretch(1);
    pgOptions->addTab(datePage, QStringLiteral("Message Date"));

    auto *mailPage = new QWidget;
    auto *mailLayout = new QVBoxLayout(mailPage);
    cbAddViewerTrailer = new QCheckBox(
        QStringLiteral("Add the following text to each forwarded message with PML attachments:"),
        mailPage);
    cbAddViewerTrailer->setObjectName(QStringLiteral("cbAddViewerTrailer"));
    mailLayout->addWidget(cbAddViewerTrailer);
    edViewerTrailer = new QPlainTextEdit(mailPage);
    edViewerTrailer->setObjectName(QStringLiteral("edViewerTrailer"));
    edViewerTrailer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edViewerTrailer->setTabChangesFocus(true);
    mailLayout->addWidget(edViewerTrailer, 1);
    pgOptions->addTab(mailPage, QStringLiteral("Reply/Forward"));

    auto *viewerPage = new QWidget;
    auto *viewerLayout = new QVBoxLayout(viewerPage);
    cbLoadRemoteContent =
        new QCheckBox(QStringLiteral("Load remote content in messages"), viewerPage);
    cbLoadRemoteContent->setObjectName(QStringLiteral("cbLoadRemoteContent"));
    viewerLayout->addWidget(cbLoadRemoteContent);
    viewerLayout->addStretch(1);
    pgOptions->addTab(viewerPage, QStringLiteral("Viewer"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    pgOptions->setCurrentIndex(0);
    CentreOnScreen(this);
}

void TOptionsForm::SetViewerTrailer(const QString &text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    // A break at the very end ends the last line; it starts no new one.
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    edViewerTrailer->setPlainText(text.isEmpty() ? QString() : lines.join(QLatin1Char('\n')));
}

QString TOptionsForm::ViewerTrailer() const {
    const QString text = edViewerTrailer->toPlainText();
    if (text.isEmpty())
        return {};
    QString result;
    for (const QString &line : text.split(QLatin1Char('\n')))
        result += line + QStringLiteral("\r\n");
    return result;
}

} // namespace tarvin
