#pragma once

#include <QString>

namespace tarvin {

// Links to found files on the user's desktop: a freedesktop ".desktop" entry of type Link.

// The candidate names of a link to a file called `fileName`: "Shortcut to <name>.desktop",
// then "Shortcut (1) to <name>.desktop" up to "Shortcut (20) to <name>.desktop" (index 0 to
// 20). The name is one safe path component; an over-long file name is shortened, never the
// ".desktop" ending.
QString DesktopLinkName(const QString &fileName, int index);

// Writes a link to `target` (a path as DecodeNativePath gives it) into `folder` under the
// first candidate name that is free. The file is created new, never over an existing entry
// and never through a symbolic link. Returns the link's path, or "" when all 21 names are
// taken; raises Error when the file cannot be written.
QString CreateDesktopLink(const QString &folder, const QString &target);

// The text of the link entry: its name shown on the desktop, the target as a file URL and
// the target's icon name. Values are escaped as desktop entries require.
QByteArray DesktopLinkEntry(const QString &target, const QString &iconName);

} // namespace tarvin
