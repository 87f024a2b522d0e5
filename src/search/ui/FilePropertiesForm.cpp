#include "search/ui/FilePropertiesForm.h"

#include "base/ui/WindowSupport.h"
#include "search/ui/SearchResultModel.h"
#include "util/NativePath.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace tarvin {

TFilePropertiesForm::TFilePropertiesForm(const TSearchResultModel &model, int row, QWidget *parent)
    : QDialog(parent) {
    const TResultRow &file = model.Row(row);
    const QString name = DisplayPath(file.Name);
    setWindowTitle(QStringLiteral("%1 Properties").arg(name));
    setWindowIcon(ProductIcon());
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    auto text = [&](int column) {
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    };
    auto value = [this](const QString &content) {
        auto *label = new QLabel(content, this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    form->addRow(QStringLiteral("Name:"), value(name));
    form->addRow(QStringLiteral("Type:"), value(file.TypeName));
    form->addRow(QStringLiteral("Location:"), value(DisplayPath(file.Folder)));
    if (!file.IsFolder)
        form->addRow(QStringLiteral("Size:"), value(QStringLiteral("%1 (%L2 bytes)")
                                                        .arg(text(TSearchResultModel::Size))
                                                        .arg(file.Size)));
    form->addRow(QStringLiteral("Created:"), value(text(TSearchResultModel::Created)));
    form->addRow(QStringLiteral("Modified:"), value(text(TSearchResultModel::Modified)));
    form->addRow(QStringLiteral("Accessed:"), value(text(TSearchResultModel::Accessed)));
    auto *attributes = new QHBoxLayout;
    auto flag = [&](const QString &caption, TFileAttribute attribute) {
        auto *box = new QCheckBox(caption, this);
        box->setChecked(file.Attributes.testFlag(attribute));
        box->setEnabled(false);
        attributes->addWidget(box);
    };
    flag(QStringLiteral("Read-only"), TFileAttribute::ReadOnly);
    flag(QStringLiteral("Hidden"), TFileAttribute::Hidden);
    flag(QStringLiteral("Archive"), TFileAttribute::Archive);
    form->addRow(QStringLiteral("Attributes:"), attributes);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace tarvin
