#pragma once

#include <QByteArray>
#include <QString>

namespace tarvin {

// Paths as the file system holds them. Linux file names are bytes; most are UTF-8, but files
// copied from old Windows shares may carry Latin-1 or Windows-1252 names. QFile::encodeName
// and decodeName replace such bytes, so a path read from a folder or the command line could
// not be opened again. These functions keep every byte: a byte that is not part of valid
// UTF-8 is held in the text as the lone surrogate U+DC80 + byte and written back as that byte.
// Valid UTF-8 names give the same text as QString::fromUtf8.

// The file system's bytes as text that keeps every byte.
QString DecodeNativePath(const QByteArray &native);
QString DecodeNativePath(const char *native);

// The bytes to hand to the file system for a path made by DecodeNativePath (or any other
// text: valid text is written as UTF-8).
QByteArray EncodeNativePath(const QString &path);

// The path as the user reads it: kept bytes are shown as Windows-1252 characters, so
// "caf\xE9.pml" reads "café.pml". For logs, messages and window titles only, never for
// opening the file.
QString DisplayPath(const QString &path);

// True when the path names a regular file (a link to one counts). Unlike QFileInfo, finds
// names whose bytes are not UTF-8.
bool IsExistingFile(const QString &path);

// A folder path with exactly one "/" at its end, and without any ("/" itself stays).
QString WithTrailingSlash(const QString &path);
QString WithoutTrailingSlash(QString path);
QByteArray WithTrailingSlash(const QByteArray &nativePath);
QByteArray WithoutTrailingSlash(QByteArray nativePath);

} // namespace tarvin
