#pragma once

#include "util/DateTime.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace tarvin {

class TMessageConverter;

// A message file about to be converted, as handed to OnFile.
struct TConverterFileEntry {
    QString Name; // the file's name within its folder (may hold kept bytes: DisplayPath)
    QString Path; // the folder path followed by the name
};

// Sets the last-write time of every message file (".pml") in a folder, and optionally in its
// subfolders, to the message's date, and leaves the marker file "pmlver.000" in each folder
// it converted. Reports through three events; a caller creates one for a run, sets the
// options and handlers, and calls Convert once per folder.
class TMessageConverter {
public:
    using TErrorEvent = std::function<void(TMessageConverter &sender, const QString &message)>;
    using TFileEvent = std::function<void(TMessageConverter &sender,
                                          const TConverterFileEntry &entry, bool &cancel)>;
    using TReadOnlyEvent = std::function<void(TMessageConverter &sender, const QString &folder)>;

    int32_t Count = 0;      // message files converted by the current Convert call
    bool Cancel = false;    // set through OnFile to stop the walk
    bool Recursive = false; // also convert subfolders
    bool UseUtc = false;    // write UTC file times instead of local clock values

    // A message file could not be converted. Unset: the error propagates out of Convert.
    TErrorEvent OnError;
    // A message file is about to be converted; setting `cancel` stops the walk before it.
    TFileEvent OnFile;
    // A folder holds a read-only message file; the folder is left unconverted.
    TReadOnlyEvent OnReadOnly;
    // A message file's time could not be set (the message names the file and gives the
    // system's reason); the file is not counted and its folder is left unconverted. Unset:
    // reported through OnError.
    TErrorEvent OnTimeNotSet;

    // Clears Cancel and Count and converts the folder (and its subfolders when Recursive).
    // Paths handed in and out keep the file system's bytes (util/NativePath.h).
    // True when this folder itself got its marker in this call. A marker that cannot be
    // written raises "Cannot create file %s".
    bool Convert(const QString &folder);

    // True when the folder directly holds a ".pml" file that is neither hidden nor a system
    // file (a symbolic link is one).
    static bool HasMessageFiles(const QString &folder);
    // True when the folder holds the marker file.
    static bool MarkerExists(const QString &folder);

private:
    // `folder` ends with "/"; returns whether its marker was written.
    bool processFolder(const QString &folder);
    enum class TFileResult { Converted, Failed, TimeNotSet };
    // Failures are reported through OnError or OnTimeNotSet.
    TFileResult convertFile(const QString &path, const QByteArray &nativePath);
    void reportFolderError(const QString &message);
};

// The message date of a message file: loads it and takes its one date. Raises the model's
// load errors.
TDateTime ReadMessageFileDate(const QString &path);

} // namespace tarvin
