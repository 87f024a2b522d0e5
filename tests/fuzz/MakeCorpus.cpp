// Writes the seed corpus of the fuzz targets: small inputs that reach each target's code paths,
// one folder per target. Usage: make_fuzz_corpus FOLDER (normally tests/fuzz/corpus). The
// folder "regressions" beside them holds minimised inputs of faults found earlier; it is not
// written here.

#include "app/InstanceMessage.h"
#include "support/PmlWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>

using namespace tarvin;

namespace {

QString g_root;
int g_written = 0;

void write(const char *target, const QString &name, const QByteArray &bytes) {
    const QString folder = g_root + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++g_written;
}

// A small HTML body with a picture named by content id, as mail programs save them.
PmlWriter htmlMail() {
    PmlWriter mail(mtMail);
    PmlAttachment html =
        PmlAttachment::File(QStringLiteral("TEXT.htm"),
                            "<html><body><p>Hi</p><img src=\"cid:logo.png\"></body></html>");
    html.ContentIds = {QStringLiteral("logo.png"), QStringLiteral("../up.png")};
    mail.AddAttachment(html);
    PmlAttachment picture = PmlAttachment::File(QStringLiteral("IMAGE.001"), "\x89PNG\r\n");
    picture.FileName = QStringLiteral("logo.png");
    mail.AddAttachment(picture);
    return mail;
}

void writeMessages() {
    const char *types[] = {"mail", "appointment", "task", "note", "phone", "docref"};
    for (int type = 0; type < 6; ++type) {
        PmlWriter message{TGWMessageType(type)};
        write("message", QStringLiteral("%1.pml").arg(QLatin1String(types[type])), message.ToXml());
    }
    PmlWriter full(mtMail);
    full.SetSender(QStringLiteral("Ellis Fenwick"), QStringLiteral("ellis@example.org"),
                   QStringLiteral("SMTP"), QStringLiteral("1"))
        .SetSharer(QStringLiteral("Robin"), QStringLiteral("robin@example.org"))
        .AddRecipient(QStringLiteral("Ann"), QStringLiteral("ann@example.org"), QStringLiteral("0"))
        .AddRecipient(QStringLiteral("Ben"), QStringLiteral("ben@example.org"), QStringLiteral("1"))
        .AddRecipient(QString(), QStringLiteral("cc@example.org"), QStringLiteral("2"))
        .AddFolder(QStringLiteral("7"), QStringLiteral("Projects"))
        .AddCategory(QStringLiteral("Blue"))
        .AddCategory(QStringLiteral("Red"), QStringLiteral("false"))
        .SetItem(QStringLiteral("personal-subject"), QStringLiteral("Mine"))
        .SetItem(QStringLiteral("forwarded"), QStringLiteral("1"))
        .SetItem(QStringLiteral("replied"), QStringLiteral("true"))
        .SetPlainText(QStringLiteral("Line one\r\nLine ]]> two"))
        .SetBodyProperties(QStringLiteral("charset=utf-8"))
        .AddField(QStringLiteral("Plain"), QStringLiteral("1"), QStringLiteral("value"))
        .AddField(QStringLiteral("Packed"), QStringLiteral("4"), QStringLiteral("packed value"))
        .SetSaveLog(QStringLiteral("20240312T091800"), QStringLiteral("0"))
        .AddLogItem(QStringLiteral("Saved"), QStringLiteral("1"));
    full.AddAttachment(PmlAttachment::File(QStringLiteral("report.txt"), "figures\n"));
    PmlAttachment system = PmlAttachment::File(QStringLiteral("Header"), "From: x\r\n");
    system.System = QStringLiteral("true");
    full.AddAttachment(system);
    full.AddAttachment(PmlAttachment::File(QStringLiteral("Mime.822"), "Subject: x\r\n\r\nbody"));
    full.AddAttachment(PmlAttachment::File(QStringLiteral("Part.1.2"), "part"));
    write("message", QStringLiteral("full-mail.pml"), full.ToXml());
    write("message", QStringLiteral("html-mail.pml"), htmlMail().ToXml());

    // Embedded messages, two levels deep.
    auto inner = std::make_shared<PmlWriter>(htmlMail());
    auto middle = std::make_shared<PmlWriter>(mtTask);
    middle->AddAttachment(PmlAttachment::Message(QStringLiteral("Inner"), inner));
    PmlWriter outer(mtAppointment);
    outer.AddAttachment(PmlAttachment::Message(QStringLiteral("Forwarded task"), middle));
    write("message", QStringLiteral("embedded.pml"), outer.ToXml());

    // Damaged and unusual messages.
    PmlWriter corrupt(mtMail);
    PmlAttachment bad = PmlAttachment::File(QStringLiteral("bad.bin"), QByteArray());
    bad.RawCData = QByteArray("eJzLSM3JyVcozy/KSQEAGgQEXQ"); // cut short
    corrupt.AddAttachment(bad);
    PmlAttachment noData = PmlAttachment::File(QStringLiteral("empty.txt"), QByteArray());
    noData.HasData = false;
    corrupt.AddAttachment(noData);
    PmlAttachment badType = PmlAttachment::File(QStringLiteral("odd"), "x");
    badType.ObjType = QStringLiteral("7");
    corrupt.AddAttachment(badType);
    PmlAttachment names = PmlAttachment::File(QStringLiteral(".."), "x");
    names.FileName = QStringLiteral("a/b:c*?.txt");
    corrupt.AddAttachment(names);
    corrupt.AddRawField(QStringLiteral("Broken"), QStringLiteral("4"), "not base64 !!");
    write("message", QStringLiteral("damaged.pml"), corrupt.ToXml());

    PmlWriter badDate(mtNote);
    badDate.SetCore(QStringLiteral("date-create"), QStringLiteral("2024x312T0915"));
    write("message", QStringLiteral("bad-date.pml"), badDate.ToXml());
    PmlWriter badBool(mtPhone);
    badBool.SetCore(QStringLiteral("read"), QStringLiteral("perhaps"));
    write("message", QStringLiteral("bad-bool.pml"), badBool.ToXml());
    PmlWriter noParts(mtDocumentReference);
    noParts.RemoveId().RemoveCoreElement().RemoveItemElement().RemoveBody().RemoveSaveLog();
    write("message", QStringLiteral("bare.pml"), noParts.ToXml());

    const QByteArray mail = PmlWriter(mtMail).ToXml();
    write("message", QStringLiteral("truncated.pml"), mail.left(mail.size() / 2));
    write("message", QStringLiteral("doctype.pml"),
          "<?xml version=\"1.0\"?>\n<!DOCTYPE message [<!ENTITY a \"aaaa\">]>\n"
          "<message>&a;</message>\n");
    write("message", QStringLiteral("latin1.pml"),
          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<message><id><class>GW.MESSAGE.MAIL"
          "</class><account>Caf\xe9</account><mapi>1</mapi></id></message>\n");
    write("message", QStringLiteral("namespaced.pml"),
          "<message xmlns:x=\"urn:x\"><props><attachments><attach obj-type=\"2\" "
          "display-name=\"m\"><msg><x:id/></msg></attach></attachments></props></message>");
    write("message", QStringLiteral("empty.pml"), QByteArray());
}

void writeInflate() {
    write("inflate", QStringLiteral("text.z"), ZlibCompress("Hello, hello, hello, hello."));
    write("inflate", QStringLiteral("empty.z"), ZlibCompress(QByteArray()));
    write("inflate", QStringLiteral("cp1252.z"), ZlibCompress("Caf\xe9 \x80 \x93quoted\x94"));
    write("inflate", QStringLiteral("stored.z"), ZlibCompress("stored block", 0));
    const QByteArray repeated = ZlibCompress(QByteArray(4096, 'a'), 9);
    write("inflate", QStringLiteral("repeated.z"), repeated);
    write("inflate", QStringLiteral("cut.z"), repeated.left(repeated.size() - 3));
    write("inflate", QStringLiteral("text.b64"), Base64Lines(ZlibCompress("base64 of zlib"), 16));
    write("inflate", QStringLiteral("odd.b64"), "eJz*LSM3=JyVcoz\r\n!y/KSQEA");
    write("inflate", QStringLiteral("bom.z"), ZlibCompress("\xef\xbb\xbfwith a mark"));
}

void writeFileNames() {
    const QList<QByteArray> names = {
        "Quarterly figures[2241a1b2c3d4].pml",
        "Old writer[241a1b2c].pml",
        "Nine[2241a1b2c].pml",
        "No code.pml",
        "Bad code[zz41a1b2c3d4].pml",
        "Too large[1ffffffffff].pml",
        "  Blanks  [0001].PML",
        "Caf\xe9[2001].pml",
        "[]",
        "Brackets]in[the[1000]].pml",
        "\x80\x81\x82\x83\x84\x85\x86\x87.pml",
    };
    int i = 0;
    for (const QByteArray &name : names)
        write("filename", QStringLiteral("name%1").arg(++i, 2, 10, QLatin1Char('0')), name);
}

void writeSafeNames() {
    const QList<QByteArray> names = {
        "",
        ".",
        "..",
        "a/b/../c",
        "report.pdf",
        "tab\tline\nreturn\r\"*:<>?\\|",
        QByteArray("nul\0inside.txt", 14),
        QByteArray(300, 'x') + ".txt",
        QByteArray(300, 'y') + "." + QByteArray(40, 'e'),
        QByteArray(60, '\xe9') + ".doc",
        "\xf0\x9f\x98\x80 smile.png",
    };
    int i = 0;
    for (const QByteArray &name : names)
        write("safename", QStringLiteral("name%1").arg(++i, 2, 10, QLatin1Char('0')), name);
}

void writeInstanceMessages() {
    write("instance", QStringLiteral("file.bin"),
          EncodeInstanceMessage({QStringLiteral("letter.pml")}, "/home/robin/mail"));
    write("instance", QStringLiteral("switches.bin"),
          EncodeInstanceMessage({QStringLiteral("/C:RU"), QStringLiteral("/S"),
                                 QStringLiteral("-style"), QStringLiteral("fusion"),
                                 QStringLiteral("old mail")},
                                "/tmp"));
    write("instance", QStringLiteral("nothing.bin"), EncodeInstanceMessage({}, QByteArray()));
    write("instance", QStringLiteral("latin1.bin"),
          EncodeInstanceMessage({QStringLiteral("x.pml")}, "/home/caf\xe9"));
    QByteArray unknown = EncodeInstanceMessage({QStringLiteral("a")}, QByteArray());
    unknown.append("\0\0\0\x09\0\0\0\x02zz", 10);
    unknown[3] = char(unknown.size() - 4);
    write("instance", QStringLiteral("unknown-record.bin"), unknown);
    write("instance", QStringLiteral("short.bin"), QByteArray("\0\0\0\x10\0\0\0\x01", 8));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus FOLDER\n");
        return 2;
    }
    g_root = QFile::decodeName(argv[1]);
    writeMessages();
    writeInflate();
    writeFileNames();
    writeSafeNames();
    writeInstanceMessages();
    std::printf("%d files written to %s\n", g_written, argv[1]);
    return 0;
}
