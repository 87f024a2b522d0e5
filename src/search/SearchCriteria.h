#pragma once

#include "util/DateTime.h"

#include <QFlags>
#include <QString>
#include <QStringList>

namespace tarvin {

// The attributes a search tests, as the platform maps them: hidden = the name starts with ".";
// read-only from the mode bits, the user's write permission and a read-only mount; directory;
// archive = every regular file; system = neither a regular file nor a folder.
enum class TFileAttribute {
    ReadOnly = 0x01,
    Hidden = 0x02,
    System = 0x04,
    Directory = 0x10,
    Archive = 0x20,
};
Q_DECLARE_FLAGS(TFileAttributes, TFileAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileAttributes)

// What the find window allows by default: read-only, archive and directory, not hidden or system.
constexpr TFileAttributes kDefaultSearchAttributes = TFileAttributes(
    int(TFileAttribute::ReadOnly) | int(TFileAttribute::Archive) | int(TFileAttribute::Directory));

// Name patterns and locations, each a list separated by ";". A location that starts with "<"
// is searched without subfolders, one that starts with ">" with them; any other follows
// IncludeSubfolders.
struct TFileCriteria {
    QString FileName;
    QString Location;
    bool IncludeSubfolders = true;
};

// With ExactMatch an entry's attributes must equal Allowed; otherwise it may have none outside
// Allowed (an entry with none of them passes).
struct TAttributeCriteria {
    TFileAttributes Allowed = kDefaultSearchAttributes;
    bool ExactMatch = false;
};

// Inclusive bounds on each file time, as local date-times; 0 means no bound. A bound with only a
// date compares the file time's date, one with only a time of day (date part 0) its time of day,
// one with both the full date-time.
struct TDateTimeCriteria {
    TDateTime CreatedBefore = 0, CreatedAfter = 0;
    TDateTime ModifiedBefore = 0, ModifiedAfter = 0;
    TDateTime AccessedBefore = 0, AccessedAfter = 0;
};

// Inclusive size bounds in bytes; 0 means no bound.
struct TSizeCriteria {
    qint64 SizeMin = 0;
    qint64 SizeMax = 0;
};

// A phrase the file's bytes must contain (empty: no content test).
struct TContentCriteria {
    QString Phrase;
    bool IgnoreCase = true;
};

struct TSearchCriteria {
    TFileCriteria Files;
    TAttributeCriteria Attributes;
    TDateTimeCriteria Dates;
    TSizeCriteria Sizes;
    TContentCriteria Content;
};

// Splits a ";"-separated list: entries trimmed, empty ones and repeats dropped, order kept.
QStringList SplitSearchList(const QString &text);

// The name pattern for what a user typed as "Subject (or part of Subject)": the text made safe
// for file names with "*" and "?" kept, a trailing ".pml" (any case) removed, then "*" + text +
// "*.pml"; "*.pml" for an empty text. A ";" in the text stays and so splits the pattern list.
QString SubjectToNamePattern(const QString &subject);

// Wildcard match of a file name: "*" any run of characters, "?" exactly one; letters compare
// without regard to case.
class TWildcardPattern {
public:
    explicit TWildcardPattern(const QString &pattern);
    bool Matches(const QString &name) const;
    // The same for a file system name; ASCII names are matched without decoding.
    bool Matches(const char *name, size_t length) const;

private:
    QString m_folded;   // the pattern folded to lower case
    QByteArray m_ascii; // the same as bytes when the pattern is ASCII, else empty
    bool m_isAscii = false;
};

// The status line after a search: "%d folder(s) searched and %d file(s) found - %.3f
// second(s)", prefixed with "Search aborted - " after Stop.
QString SearchStatusText(int folders, int files, double seconds, bool aborted);

} // namespace tarvin
