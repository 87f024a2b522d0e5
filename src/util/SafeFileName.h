#pragma once

#include <QString>

namespace tarvin {

// Replaces each of the twelve characters that file names must not hold (tab, line feed,
// carriage return, " * / : < > ? \ |) by "_", unless it is in `exempt`. The result has the
// length of the input; every other character stays.
QString SafeFileName(const QString &name, const QString &exempt = QString());

// Makes a name taken from a message file (attachment name, content id, display name) into
// exactly one path component that cannot leave the folder it is joined to: SafeFileName,
// NUL characters replaced too, "", "." and ".." become "File", and a name longer than the
// file system allows is shortened, keeping its extension.
QString SafePathComponent(const QString &name);

// A file name made of `stem` and `suffix` ("[code].pml" and the like), both made safe as in
// SafePathComponent; when the whole is too long for the file system the stem is shortened,
// never the suffix.
QString SafeNameWithSuffix(const QString &stem, const QString &suffix);

} // namespace tarvin
