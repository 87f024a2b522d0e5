#pragma once

// Writers of hostile message files: each returns a whole document (bytes of a .pml file) of
// one shape that once made the program hang, exhaust memory or fill the disk. Sizes are
// parameters, so that tests write small ones and the hostile benchmark full-sized ones; the
// regression files under tests/fuzz/corpus/regressions/ are small ones written by
// tarvin_hostile (tests/support/HostileTool.cpp).

#include <QByteArray>
#include <QString>
#include <vector>

namespace tarvin::hostile {

// The zlib stream of `size` zero bytes, made in pieces (no buffer of that size).
QByteArray ZeroStream(qint64 size);

// One start tag ("props/core") with `count` attributes.
QByteArray ManyAttributes(int count);
// `depth` nested elements inside the root, left open (`closed` false) or closed.
QByteArray DeepNesting(int depth, bool closed);
// Empty elements with two attributes each, until the file has about `bytes` bytes.
QByteArray ManyNodes(qint64 bytes);
// One attribute (the subject's "x") whose value is `bytes` base64 characters.
QByteArray BigAttribute(qint64 bytes);
// `fields` custom fields of type 4, each inflating to `inflatedEach` zero bytes (one stream
// written once and repeated).
QByteArray FieldBombs(int fields, qint64 inflatedEach);
// An HTML body that inflates to `inflated` zero bytes (written into the work folder on open).
QByteArray BodyBomb(qint64 inflated);
// An HTML body naming one part of `partSize` inflated bytes by its content id `repeats` times.
QByteArray RepeatedContentIds(qint64 partSize, int repeats);
// An HTML body naming `count` different small parts, each by its own content id.
QByteArray ManyContentIds(int count);
// An HTML body naming `count` different parts, each inflating to `inflatedEach` zero bytes
// (one stream written once and repeated).
QByteArray PartBombs(int count, qint64 inflatedEach);
// Nested entity declarations ("billion laughs") in a document type declaration, or the same
// references without one.
QByteArray BillionLaughs(bool withDocType);
// A custom field whose data is not a zlib stream ("data error"), and a bad message date.
QByteArray CorruptField();
QByteArray BadDate();
// A valid message cut off after `keep` bytes.
QByteArray Truncated(qsizetype keep);

// One named file of the hostile set.
struct THostileFile {
    QString Name;
    QByteArray Bytes;
};
// The whole set: `full` gives the sizes that once broke the program (several MB each; a few
// take seconds to write), otherwise small files (< 100 KB) of the same shapes.
std::vector<THostileFile> HostileSet(bool full);

} // namespace tarvin::hostile
