#pragma once

#include "model/Attachment.h"

#include <QString>

namespace tarvin {

// Fixed pictures of the attachment list: 0-5 an embedded message of that type, 6 an
// attachment without data. File-type icons follow them.
constexpr int kNoDataImage = 6;
constexpr int kFixedImageCount = 7;
// Results of AttachmentImageIndex besides 0-6.
constexpr int kNotListed = -1;
constexpr int kExtensionImage = -2; // the icon of the save name's extension

// Which picture an attachment gets, or kNotListed when it is left out of the list.
// `messageType` is the embedded message's type (6 when it has no data).
int AttachmentImageIndex(TObjectType objectType, bool isSystem, bool hasData, int messageType,
                         bool showSystemAttachments);

// The caption of a list item: the display name, else the type name of an embedded message,
// else "File".
QString AttachmentCaption(const QString &displayName, TObjectType objectType, int messageType);

// The extension of a name, dot included ("" when it has none): the text from its last "."
// on, unless a folder separator follows that dot.
QString NameExtension(const QString &name);

// The name a file attachment is written under: the display name when it has an extension
// or the file name has none, else the file name; "File" when that is empty. Not yet safe
// as a path component.
QString AttachmentSaveName(const QString &displayName, const QString &fileName);

// The file name suggested for saving an embedded message: the caption made safe, its
// twelve-digit flag code in brackets and ".pml".
QString EmbeddedMessageSaveName(const QString &caption, const QString &identifier);

// True when the attachment is opened in the text editor rather than with the program of
// its type (the HTML body and the MIME source).
bool OpensInTextEditor(bool isHtmlBody, bool isMime822);

} // namespace tarvin
