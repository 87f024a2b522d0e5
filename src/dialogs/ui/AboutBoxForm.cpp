#include "dialogs/ui/AboutBoxForm.h"

#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"
#include "dialogs/AboutTexts.h"
#include "dialogs/ui/ProductImages.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvin {

namespace {

constexpr int kClientWidth = 491;
constexpr int kClientHeight = 244;
constexpr int kBannerHeight = 50;
constexpr int kButtonRowHeight = 42;
constexpr int kReleaseWidth = 384;

QWidget *Strip(QWidget *parent, const QColor &background) {
    auto *strip = new QWidget(parent);
    strip->setAutoFillBackground(true);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, background);
    strip->setPalette(pal);
    return strip;
}

QLabel *TextLabel(QWidget *parent, const QString &name, const QString &text = QString()) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Breaks each line of `text` into lines no wider than `width`, after a "/" or blank where one
// lets the line fit, else wherever it must: a long program path is shown whole.
QString BreakLines(const QString &text, const QFontMetrics &metrics, int width) {
    QStringList out;
    for (QString rest : text.split(QLatin1Char('\n'))) {
        while (metrics.horizontalAdvance(rest) > width && rest.size() > 1) {
            qsizetype fit = 1;
            while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
                ++fit;
            qsizetype cut = fit;
            for (qsizetype i = fit; i > 1; --i) {
                if (rest.at(i - 1) == QLatin1Char('/') || rest.at(i - 1) == QLatin1Char(' ')) {
                    cut = i;
                    break;
                }
            }
            out << rest.left(cut);
            rest = rest.mid(cut);
        }
        out << rest;
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace

TAboutBoxForm::TAboutBoxForm(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(AboutCaption(VersionKey(9)));
    setWindowIcon(ProductIcon());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_content = new QFrame(this);
    m_content->setObjectName(QStringLiteral("pnlContent"));
    auto *content = new QVBoxLayout(m_content);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(0);

    // Banner strip: the picture on a background of its own edge colour.
    const QPixmap banner = ProductBanner();
    const QImage bannerImage = banner.toImage();
    const QColor stripColour = bannerImage.isNull()
                                   ? QColor(95, 163, 207)
                                   : bannerImage.pixelColor(bannerImage.width() - 1, 0);
    QWidget *bannerStrip = Strip(m_content, stripColour);
    bannerStrip->setObjectName(QStringLiteral("pnlBanner"));
    bannerStrip->setFixedHeight(kBannerHeight);
    auto *bannerLayout = new QHBoxLayout(bannerStrip);
    bannerLayout->setContentsMargins(0, (kBannerHeight - banner.height()) / 2, 0, 0);
    auto *bannerLabel = new QLabel(bannerStrip);
    bannerLabel->setObjectName(QStringLiteral("imgBanner"));
    bannerLabel->setPixmap(banner);
    bannerLabel->setFixedSize(banner.size());
    bannerLayout->addWidget(bannerLabel, 0, Qt::AlignLeft | Qt::AlignTop);
    bannerLayout->addStretch();
    content->addWidget(bannerStrip);

    // White info panel.
    QWidget *info = Strip(m_content, Qt::white);
    info->setObjectName(QStringLiteral("pnlInfo"));
    auto *infoLayout = new QVBoxLayout(info);
    infoLayout->setContentsMargins(12, 8, 12, 8);
    infoLayout->setSpacing(2);
    m_productName = TextLabel(info, QStringLiteral("ProductName"));
    QFont bold = m_productName->font();
    bold.setBold(true);
    m_productName->setFont(bold);
    m_description = TextLabel(info, QStringLiteral("Comments"));
    m_version = TextLabel(info, QStringLiteral("Version"), AboutVersionLine(VersionKey(4)));
    m_copyright = TextLabel(info, QStringLiteral("Copyright"),
                            VersionValue(QStringLiteral("LegalCopyright")));
    // Product name and description stay empty: the banner names the product.
    infoLayout->addWidget(m_productName);
    infoLayout->addWidget(m_description);
    infoLayout->addWidget(m_version);
    infoLayout->addWidget(m_copyright);
    infoLayout->addStretch();
    content->addWidget(info, 1);

    // Release panel.
    auto *releasePanel = new QFrame(m_content);
    releasePanel->setObjectName(QStringLiteral("pnlRelease"));
    auto *separator = new QFrame(m_content);
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    content->addWidget(separator);
    auto *releaseLayout = new QHBoxLayout(releasePanel);
    releaseLayout->setContentsMargins(12, 8, 12, 8);
    auto *releaseCaption = TextLabel(releasePanel, QStringLiteral("lblProgramRelease"),
                                     QStringLiteral("Program Release:"));
    releaseCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QString release = AboutReleaseText(VersionKey(4), ProgramFilePath());
    release.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_release = TextLabel(releasePanel, QStringLiteral("lblRelease"));
    // As wide as the row leaves beside the caption, at most 384 px.
    const int releaseWidth =
        std::min(kReleaseWidth, kClientWidth - 24 - releaseCaption->sizeHint().width() -
                                    std::max(0, releaseLayout->spacing()));
    m_release->setMaximumWidth(releaseWidth);
    m_release->setText(BreakLines(release, m_release->fontMetrics(), releaseWidth));
    m_release->setToolTip(release);
    m_release->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_release->setTextInteractionFlags(Qt::TextSelectableByMouse);
    releaseLayout->addWidget(releaseCaption, 0, Qt::AlignTop);
    releaseLayout->addWidget(m_release, 1, Qt::AlignTop);
    content->addWidget(releasePanel);
    outer->addWidget(m_content, 1);

    // Button row.
    m_buttonRow = new QWidget(this);
    m_buttonRow->setObjectName(QStringLiteral("pnlButtons"));
    m_buttonRow->setFixedHeight(kButtonRowHeight);
    auto *buttons = new QHBoxLayout(m_buttonRow);
    buttons->setContentsMargins(8, 6, 8, 8);
    m_okButton = new QPushButton(QStringLiteral("&OK"), m_buttonRow);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addStretch();
    outer->addWidget(m_buttonRow);

    // Taller than designed when the release text needs more lines.
    setFixedHeight(std::max(kClientHeight, outer->sizeHint().height()));

    CentreOnScreen(this);
}

} // namespace tarvin
