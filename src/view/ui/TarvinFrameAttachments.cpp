// The viewer frame's attachment list: filling it, the selection, and opening and saving
// attachments.
#include "view/ui/TarvinFrame.h"

#include "base/DesktopServices.h"
#include "base/Error.h"
#include "model/Attachment.h"
#include "util/SafeFileName.h"
#include "view/AttachmentRules.h"
#include "view/ui/ViewerActionHandler.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>

namespace tarvin {

namespace {
constexpr size_t kUniformAttachmentCellsFrom = 500; // items in the attachment list
} // namespace

void TTarvinFrame::fillAttachments() {
    m_icons.Reset();
    m_lvwAttachments->scrollToTop();
    m_lvwAttachments->clear();
    m_entries.clear();
    m_infos.clear();
    if (!m_message) {
        emit AttachmentSelectionChanged();
        return;
    }
    m_infos = BuildAttachmentInfos(*m_message);
    m_entries = BuildAttachmentEntries(m_infos, m_showSystemAttachments);
    // An ordinary list sizes each item to its caption. A huge one (a hostile file can name tens
    // of thousands of attachments) gives every item the same cell, worked out once: measuring
    // every caption would hold up the window for seconds.
    const bool uniform = m_entries.size() >= kUniformAttachmentCellsFrom;
    m_captionDelegate->SetUniformCells(uniform);
    m_lvwAttachments->setUniformItemSizes(uniform);
    const QColor greyText = palette().color(QPalette::Disabled, QPalette::Text);
    for (size_t row = 0; row < m_entries.size(); ++row) {
        const TAttachmentEntry &entry = m_entries[row];
        int image = entry.ImageIndex == kExtensionImage ? m_icons.IndexForExtension(entry.Extension)
                                                        : entry.ImageIndex;
        // Made whole before it joins the list: a change to an item in the list is a change
        // the view hears of, which made a list of many thousand attachments take seconds.
        auto *item = new QListWidgetItem(entry.Caption);
        item->setData(Qt::UserRole, int(row));
        item->setToolTip(entry.Caption);
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        if (entry.HasData) {
            item->setIcon(m_icons.Icon(image));
        } else {
            item->setIcon(QIcon(m_icons.Icon(image).pixmap(32, 32, QIcon::Disabled)));
            item->setForeground(greyText);
        }
        m_lvwAttachments->addItem(item);
    }
    emit AttachmentSelectionChanged();
}

void TTarvinFrame::SelectAttachment(int row) {
    m_lvwAttachments->setCurrentRow(row);
}

const TAttachmentInfo *TTarvinFrame::SelectedAttachmentInfo() const {
    const QList<QListWidgetItem *> selected = m_lvwAttachments->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = selected.constFirst()->data(Qt::UserRole).toInt();
    if (row < 0 || size_t(row) >= m_entries.size())
        return nullptr;
    return &m_infos[m_entries[size_t(row)].InfoIndex];
}

const TAttachment *TTarvinFrame::SelectedAttachment() const {
    const TAttachmentInfo *info = SelectedAttachmentInfo();
    return info ? info->Attachment : nullptr;
}

void TTarvinFrame::OpenSelectedAttachment() {
    const TAttachmentInfo *info = SelectedAttachmentInfo();
    if (!info || !info->Attachment->HasData())
        return;
    const TAttachment &attachment = *info->Attachment;
    if (attachment.ObjectType == TObjectType::EmbeddedMessage) {
        TOpenMessageRequest request;
        request.MessageId = info->MessageId;
        request.Xml = attachment.DataText();
        request.ToolbarVisible = ToolbarVisible();
        request.AttachmentsVisible = m_attachmentsVisible;
        request.ShowSystemAttachments = m_showSystemAttachments;
        request.LoadRemoteContent = m_loadRemoteContent;
        emit OnOpenMessage(this, request);
        return;
    }
    if (attachment.ObjectType != TObjectType::File)
        return;
    QString path;
    // Opening may run the Open With dialog, and the window may close meanwhile.
    QPointer<TTarvinFrame> self(this);
    try {
        path = GetWorkFolder() + SafePathComponent(SaveNameOf(attachment));
        WriteAttachmentForOpening(attachment, GetWorkFolder());
        if (OpensInTextEditor(attachment.IsHtmlBody, attachment.IsMime822))
            Desktop().OpenInTextEditor(this, path);
        else
            Desktop().OpenFile(this, path);
    } catch (const Error &error) {
        if (!self)
            return;
        showError(QStringLiteral("Cannot open file '%1'.\n\n%2.").arg(path, error.message()));
    }
}

void TTarvinFrame::SaveSelectedAttachmentAs() {
    const TAttachmentInfo *info = SelectedAttachmentInfo();
    if (!info || !info->Attachment->HasData())
        return;
    const TAttachment &attachment = *info->Attachment;
    const QString caption = CaptionOf(*info);
    const QString messageFilter = QStringLiteral("Pelorin Markup Language file (*.pml)");
    const QString anyFilter = QStringLiteral("Any file (*.*)");
    TFileDialogRequest request;
    request.Title = QStringLiteral("Save '") + caption + QStringLiteral("' As");
    request.Filters = {messageFilter, anyFilter};
    try {
        if (attachment.ObjectType == TObjectType::EmbeddedMessage) {
            request.SuggestedName = EmbeddedMessageFileName(*info);
            request.SelectedFilter = messageFilter;
            m_saveFolder = m_sourceFolder;
        } else {
            request.SuggestedName = SafePathComponent(SaveNameOf(attachment));
            request.SelectedFilter = anyFilter;
        }
        request.Folder = m_saveFolder;
        QPointer<TTarvinFrame> self(this);
        const QString path = Desktop().AskSaveFileName(this, request);
        // The window may have closed while the dialog ran; the attachment went with it.
        if (!self || path.isEmpty())
            return;
        if (attachment.ObjectType == TObjectType::EmbeddedMessage)
            SaveEmbeddedMessage(attachment, path);
        else
            attachment.SaveDataToFile(path);
        m_saveFolder = QFileInfo(path).absolutePath();
    } catch (const Error &error) {
        showError(error.message());
    }
}

} // namespace tarvin
