#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvin {

// The message a second start of the viewer sends to the running one over the instance socket
// (app/SingleInstance.h). One message per connection:
//
//   frame  = uint32 length of body (big-endian), body
//   body   = record*
//   record = uint32 kind, uint32 size (both big-endian), size bytes
//
// Kinds: 1, the command line: the arguments in order, as typed (switches kept, relative names
// not expanded), each followed by CR LF, the last one too; 2, the sender's current folder,
// sent before the command line. Both hold the file system's bytes. Records of other kinds are
// skipped. The answer is one big-endian int32: 1 accepted, 0 not.
enum class TInstanceRecord : quint32 { CommandLine = 1, SenderFolder = 2 };

// The largest body the running instance reads; a longer message is refused unread.
constexpr int MaxInstanceMessageSize = 64 * 1024;

enum class TInstanceReply : qint32 { Refused = 0, Accepted = 1 };

struct TInstanceMessage {
    QStringList Lines;    // the command line's arguments, bytes kept (util/NativePath.h)
    QString SenderFolder; // empty when none came or it was not absolute
};

// Builds the frame. Arguments that would carry the body past MaxInstanceMessageSize are left
// off from the end (only the first is ever opened); returns an empty array when not even the
// first fits.
QByteArray EncodeInstanceMessage(const QStringList &arguments, const QByteArray &senderFolder);

enum class TParseState { Incomplete, Complete, Invalid };

// Reads a frame from everything received so far on a connection. The bytes are untrusted:
// Invalid for a length over MaxInstanceMessageSize, bytes after the frame, a record that runs
// past the body, a NUL byte in the command line or the folder, a repeated record, or no
// command-line record; Incomplete while the frame is not yet whole. Bytes that are not valid
// UTF-8 are kept as in file names (util/NativePath.h), so they never make an invalid text.
TParseState ParseInstanceMessage(const QByteArray &received, TInstanceMessage &message);

// The lines of a command-line record: CR LF, CR or LF end a line; the final line end adds no
// empty line.
QStringList SplitCommandLineText(const QByteArray &text);

// The arguments with relative names made absolute against the sender's folder (when one came):
// a user who types "tarvin x.pml" in another folder means that folder's file. Switches and
// absolute names stay as they are; without a folder nothing changes, and the running
// instance's own current folder applies.
QStringList ResolveReceivedArguments(const QStringList &lines, const QString &senderFolder);

// The arguments without the options that Qt's application object takes for itself ("-style
// fusion", "-platform xcb", "-reverse"), as a started viewer would see them. The second start
// creates no such object, so it removes them before handing the rest over.
QStringList WithoutQtOptions(const QStringList &arguments);

} // namespace tarvin
