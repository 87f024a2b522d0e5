#include "support/HostileFiles.h"

#include "support/PmlWriter.h"

#include <zlib.h>

namespace tarvin::hostile {

namespace {

QByteArray wrap(const QByteArray &props) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<message><props>" + props +
           "</props></message>\n";
}

QByteArray base64Of(const QByteArray &data) {
    return Base64Lines(data, 76);
}

} // namespace

QByteArray ZeroStream(qint64 size) {
    z_stream stream{};
    deflateInit(&stream, 9);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray out;
    char buffer[65536];
    qint64 left = size;
    int flush = Z_NO_FLUSH;
    do {
        const qint64 piece = std::min<qint64>(left, zeros.size());
        left -= piece;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zeros.constData()));
        stream.avail_in = uInt(piece);
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    return out;
}

QByteArray ManyAttributes(int count) {
    QByteArray tag = "<core";
    for (int i = 0; i < count; ++i)
        tag += " a" + QByteArray::number(i) + "=\"\"";
    return wrap(tag + "/>");
}

QByteArray DeepNesting(int depth, bool closed) {
    QByteArray xml = "<message>" + QByteArray("<a>").repeated(depth);
    if (closed)
        xml += QByteArray("</a>").repeated(depth) + "</message>";
    return xml;
}

QByteArray ManyNodes(qint64 bytes) {
    const QByteArray node = "<a b=\"\" c=\"\"/>";
    return wrap(node.repeated(std::max<qint64>(1, bytes / node.size())));
}

QByteArray BigAttribute(qint64 bytes) {
    return wrap("<core><subject x=\"" + QByteArray(bytes, 'A') + "\">s</subject></core>");
}

QByteArray FieldBombs(int fields, qint64 inflatedEach) {
    const QByteArray data = base64Of(ZeroStream(inflatedEach));
    QByteArray xml = "<fields>";
    for (int i = 0; i < fields; ++i)
        xml += "<field name=\"f" + QByteArray::number(i) + "\" type=\"4\">" + data + "</field>";
    return wrap(xml + "</fields>");
}

namespace {

QByteArray attachment(const QByteArray &displayName, const QByteArray &fileName,
                      const QByteArray &stream, const QByteArray &contentIds = QByteArray()) {
    QByteArray xml = "<attach display-name=\"" + displayName + "\"";
    if (!fileName.isEmpty())
        xml += " file-name=\"" + fileName + "\"";
    xml += ">";
    if (!contentIds.isEmpty())
        xml += "<content-ids>" + contentIds + "</content-ids>";
    return xml + "<![CDATA[" + base64Of(stream) + "]]></attach>";
}

} // namespace

QByteArray BodyBomb(qint64 inflated) {
    return wrap("<attachments>" + attachment("TEXT.htm", QByteArray(), ZeroStream(inflated)) +
                "</attachments>");
}

QByteArray RepeatedContentIds(qint64 partSize, int repeats) {
    const QByteArray ids = QByteArray("<content-id>part</content-id>").repeated(repeats);
    return wrap("<attachments>" +
                attachment("TEXT.htm", QByteArray(), ZlibCompress("<img src=\"part\">"), ids) +
                attachment("IMAGE.bin", "part", ZeroStream(partSize)) + "</attachments>");
}

namespace {

// A body naming `count` parts by content id ("<prefix>0", "<prefix>1", ...), each part the
// same compressed stream.
QByteArray BodyWithParts(int count, const QByteArray &prefix, const QByteArray &stream,
                         const QByteArray &html) {
    QByteArray ids;
    QByteArray parts;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = prefix + QByteArray::number(i);
        ids += "<content-id>" + name + "</content-id>";
        parts += attachment("IMAGE.bin", name, stream);
    }
    return wrap("<attachments>" + attachment("TEXT.htm", QByteArray(), ZlibCompress(html), ids) +
                parts + "</attachments>");
}

} // namespace

QByteArray ManyContentIds(int count) {
    return BodyWithParts(count, "p", ZlibCompress("x"), "<p>many</p>");
}

QByteArray PartBombs(int count, qint64 inflatedEach) {
    return BodyWithParts(count, "b", ZeroStream(inflatedEach), "<p>parts</p>");
}

QByteArray BillionLaughs(bool withDocType) {
    QByteArray xml = "<?xml version=\"1.0\"?>\n";
    if (withDocType) {
        xml += "<!DOCTYPE message [\n <!ENTITY l0 \"ha\">\n";
        for (int i = 1; i < 10; ++i)
            xml += " <!ENTITY l" + QByteArray::number(i) + " \"" +
                   ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
        xml += "]>\n";
    }
    return xml + "<message><props><core><subject>&l9;</subject></core></props></message>\n";
}

QByteArray CorruptField() {
    return PmlWriter(mtMail).AddRawField("bad", "4", "AAAAAAAAAAAA").ToXml();
}

QByteArray BadDate() {
    return PmlWriter(mtMail).SetCore("date-create", "20030230T000000").ToXml();
}

QByteArray Truncated(qsizetype keep) {
    PmlWriter writer(mtMail);
    writer.AddAttachment(PmlAttachment::File("a.txt", QByteArray(4000, 'a')));
    return writer.ToXml().left(keep);
}

std::vector<THostileFile> HostileSet(bool full) {
    const qint64 MiB = 1 << 20;
    std::vector<THostileFile> set;
    auto add = [&](const char *name, QByteArray bytes) {
        set.push_back({QString::fromLatin1(name), std::move(bytes)});
    };
    add("many_attributes.pml", ManyAttributes(full ? 300000 : 1001));
    add("deep_unclosed.pml", DeepNesting(full ? 5 * int(MiB) : 1001, false));
    add("deep_closed.pml", DeepNesting(full ? 1 * int(MiB) : 1001, true));
    add("many_nodes.pml", ManyNodes(full ? 20 * MiB : 60000));
    add("big_attribute.pml", BigAttribute(full ? 17 * MiB : 4096));
    add("field_bombs.pml", FieldBombs(5, full ? 900 * MiB : 8 * MiB));
    add("body_bomb.pml", BodyBomb(full ? qint64(3) << 30 : 8 * MiB));
    add("repeated_content_ids.pml", RepeatedContentIds(full ? 64 * MiB : MiB, 2000));
    add("many_content_ids.pml", ManyContentIds(full ? 60000 : 500));
    add("part_bombs.pml", PartBombs(16, full ? 64 * MiB : MiB));
    add("billion_laughs_doctype.pml", BillionLaughs(true));
    add("billion_laughs_plain.pml", BillionLaughs(false));
    add("corrupt_field.pml", CorruptField());
    add("bad_date.pml", BadDate());
    add("truncated.pml", Truncated(300));
    add("empty.pml", QByteArray());
    return set;
}

} // namespace tarvin::hostile
