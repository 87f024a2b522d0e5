#pragma once

#include <QString>

namespace tarvin {

// The user's private temporary folder: "$XDG_RUNTIME_DIR/tarvin" when XDG_RUNTIME_DIR is set,
// else "<temp>/tarvin-<uid>". Nothing is checked or created.
QString PrivateTempFolderPath();

// Makes sure `path` is a private folder of the current user and returns it with a trailing
// "/": created with mode 0700 when missing (one level), refused with an Error when it is a
// symbolic link, not a folder or owned by another user; an existing folder of ours whose mode
// lets others in is narrowed to 0700.
QString EnsurePrivateFolder(const QString &path);

// EnsurePrivateFolder(PrivateTempFolderPath()): the folder that holds work folders and the
// program's local sockets, ending in "/".
QString PrivateTempFolder();

// The full path (no trailing separator) of a work folder name not yet taken in `tempFolder`
// (default: PrivateTempFolder()): `tempFolder` + `prefix` + at least four lower-case
// hexadecimal digits. Nothing is created.
QString NewTempFolderName(const QString &prefix, const QString &tempFolder = QString());

// Removes a folder and everything in it, read-only files and folders included. Symbolic links
// are removed, never followed. A failure does not stop the walk; the result is true only when
// this call removed the folder itself (false for a path that is missing or not a folder).
bool DeleteTree(const QString &folder);

// Removes the folders in `tempFolder` (default: PrivateTempFolder()) whose names match the
// wildcard `pattern` (e.g. "_vwr????"); every failure is ignored. A work folder that a
// TWorkFolder still holds (in this process or another Tarvin running beside it) is left alone.
void DeleteTempFolders(const QString &pattern, const QString &tempFolder = QString());

// The work folder of a viewer frame: named on first use, created again whenever it is missing,
// removed with everything in it when the owner goes.
class TWorkFolder {
public:
    static constexpr const char *kPrefix = "_vwr";

    // `ownerClassName` fills the error text; `tempFolder` (default: PrivateTempFolder())
    // is where the work folder is made.
    explicit TWorkFolder(QString ownerClassName = QStringLiteral("TTarvinFrame"),
                         QString tempFolder = QString());
    ~TWorkFolder();
    TWorkFolder(const TWorkFolder &) = delete;
    TWorkFolder &operator=(const TWorkFolder &) = delete;

    // The work folder path ending in "/", created when it does not exist. Raises
    // Error("<owner>.GetWorkFolder: Cannot create directory '<path>'") when that fails.
    QString Path();
    // The path fixed by the first call of Path(), or empty before it.
    QString HeldPath() const { return m_path; }

private:
    void holdFolder();
    void releaseFolder();

    QString m_ownerClassName;
    QString m_tempFolder;
    QString m_path;
    int m_holdFd = -1; // the folder, opened and share-locked while we use it
};

} // namespace tarvin
