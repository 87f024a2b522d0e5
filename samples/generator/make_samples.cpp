// Writes the bundled sample messages: one or more of every item type, named with their
// flag code as the archiver names saved messages. Usage: make_samples [output folder]

#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "support/PmlWriter.h"
#include "util/SafeFileName.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <stdexcept>

using namespace tarvin;

namespace {

// A small bar chart as PNG.
QByteArray ChartPng() {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(60, 60, 60));
    painter.drawLine(10, 70, 112, 70);
    painter.drawLine(10, 8, 10, 70);
    const int heights[] = {30, 45, 38, 58};
    const QColor colours[] = {QColor(59, 120, 200), QColor(47, 154, 74), QColor(216, 69, 58),
                              QColor(242, 201, 76)};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(18 + i * 24, 70 - heights[i], 16, heights[i], colours[i]);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// A one-page PDF with a line of text, cross-reference table computed from the offsets.
QByteArray TinyPdf(const QByteArray &line) {
    const QByteArray stream = "BT /F1 18 Tf 72 720 Td (" + line + ") Tj ET\n";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

PmlAttachment SystemFile(const QString &name, const QByteArray &content) {
    return PmlAttachment::File(name, content);
}

// Writes the message under "<safe subject>[<code>].pml" and gives the file the message date.
QString WriteSample(const QString &folder, const PmlWriter &writer, const QString &subject) {
    TGWMessage message;
    message.LoadFromXml(writer.ToXml());
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(&message);
    const QString name =
        QStringLiteral("%1[%2]%3")
            .arg(SafeFileName(subject), encoder.GetIdentifier(), QStringLiteral(".pml"));
    const QString path = QDir(folder).filePath(name);
    if (!writer.WriteFile(path))
        throw std::runtime_error("cannot write " + path.toStdString());
    // Read back what was written: the sample must load as the viewer will load it.
    TGWMessage check;
    check.LoadFromFile(path);
    encoder.SetFileDate(path);
    return name;
}

PmlWriter &Common(PmlWriter &w, const QString &mapi, const QString &from, const QString &subject,
                  const QString &created) {
    w.SetAccount(QStringLiteral("Robin Ashdown"));
    w.SetMapi(mapi);
    w.SetCore(QStringLiteral("from"), from);
    w.SetCore(QStringLiteral("subject"), subject);
    w.SetCore(QStringLiteral("date-create"), created);
    w.SetCore(QStringLiteral("date-modified"), created);
    // Each sender's address follows from the name: "Dana Whitlock" is
    // dana.whitlock@halvorn.example.
    const QString address = from.toLower().replace(QLatin1Char(' '), QLatin1Char('.')) +
                            QStringLiteral("@halvorn.example");
    w.SetSender(from, address, QStringLiteral("NGW"));
    return w;
}

QString HtmlOf(const QString &body) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title></title></head>"
                          "<body style=\"font-family: sans-serif; font-size: 10pt\">") +
           body + QStringLiteral("</body></html>\r\n");
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TARVIN_SOURCE_DIR "/samples");
    QDir().mkpath(folder);
    QStringList written;
    try {
        // 1. Mail with an HTML body, an inline image by content id and a link.
        {
            const QString subject = QStringLiteral("Quarterly figures with chart");
            PmlWriter w(mtMail);
            Common(w, QStringLiteral("5C21A9F0.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Ellis Fenwick"), subject, QStringLiteral("20261203T091500"));
            w.SetItem(QStringLiteral("date-delivered"), QStringLiteral("20261203T091612"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(QStringLiteral(
                "Hello Robin,\r\n\r\nthe chart below shows the figures of the last four "
                "quarters.\r\n\r\n[chart]\r\n\r\nThe full report is on the intranet: "
                "https://intranet.halvorn.example/reports/q3\r\n\r\nRegards,\r\nEllis\r\n"));
            PmlAttachment html = SystemFile(
                QStringLiteral("TEXT.htm"),
                HtmlOf(QStringLiteral(
                           "<p>Hello Robin,</p><p>the chart below shows the figures of the "
                           "last four <b>quarters</b>.</p>"
                           "<p><img src=\"chart01.png\" alt=\"Chart\" width=\"240\" "
                           "height=\"160\"></p>"
                           "<p>The full report is on the <a href=\"https://intranet.halvorn."
                           "example/reports/q3\">intranet</a>.</p><p>Regards,<br>Ellis</p>"))
                    .toUtf8());
            html.ContentIds = {QStringLiteral("chart01.png")};
            w.AddAttachment(html);
            PmlAttachment image = SystemFile(QStringLiteral("IMAGE.chart01.png"), ChartPng());
            image.FileName = QStringLiteral("chart01.png");
            w.AddAttachment(image);
            w.SetBodyProperties(QStringLiteral(
                "Message Properties\r\n\tFrom:\tEllis Fenwick\r\n\tCreated:\t12/03/2026 "
                "09:15\r\n\tPriority:\tStandard\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 2. Mail with CC and BC recipients and a To line long enough for a list.
        {
            const QString subject = QStringLiteral("Project kick-off meeting notes");
            PmlWriter w(mtMail);
            Common(w, QStringLiteral("5C21AA10.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Robin Ashdown"), subject, QStringLiteral("20261204T163000"));
            w.SetCore(QStringLiteral("boxtype"), QStringLiteral("2"));
            w.SetCore(QStringLiteral("priority"), QStringLiteral("1"));
            w.SetItem(QStringLiteral("date-delivered"), QStringLiteral("20261204T163005"));
            const char *to[][2] = {{"Ellis Fenwick", "ellis.fenwick@halvorn.example"},
                                   {"Dana Whitlock", "dana.whitlock@brantford.example"},
                                   {"Marguerite Okonkwo-Lindqvist", "m.okonkwo@halvorn.example"},
                                   {"Tobias Hargreave", "tobias.hargreave@halvorn.example"},
                                   {"Priya Ramaswamy", "priya.ramaswamy@halvorn.example"},
                                   {"", "facilities@halvorn.example"},
                                   {"Jonas Eberhardt", "j.eberhardt@halvorn.example"}};
            for (const auto &r : to)
                w.AddRecipient(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]),
                               QStringLiteral("0"));
            w.AddRecipient(QStringLiteral("Sven Åkerlund"),
                           QStringLiteral("sven.akerlund@halvorn.example"), QStringLiteral("1"));
            w.AddRecipient(QStringLiteral("Chloé Marchetti"),
                           QStringLiteral("chloe.marchetti@halvorn.example"), QStringLiteral("1"));
            w.AddRecipient(QStringLiteral("Records Office"),
                           QStringLiteral("records@halvorn.example"), QStringLiteral("2"));
            w.SetPlainText(QStringLiteral(
                "Hello all,\r\n\r\nthank you for joining the kick-off. Agreed:\r\n\r\n"
                "  1. Weekly status on Mondays at 10:00.\r\n"
                "  2. Ellis owns the budget, Dana the supplier contacts.\r\n"
                "  3. First milestone review on 15 January.\r\n\r\nRobin\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 3. Mail with file attachments, an embedded message and system attachments.
        {
            const QString subject = QStringLiteral("Supplier documents");
            PmlWriter w(mtMail);
            Common(w, QStringLiteral("5C21AB44.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Dana Whitlock"), subject, QStringLiteral("20261205T110200"));
            w.SetItem(QStringLiteral("date-delivered"), QStringLiteral("20261205T110431"));
            w.SetItem(QStringLiteral("forwarded"), QStringLiteral("true"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(QStringLiteral(
                "Robin,\r\n\r\nattached are the delivery notes, a photo of the pallet, the "
                "signed contract and Ellis's original request.\r\n\r\nDana\r\n"));
            w.AddAttachment(PmlAttachment::File(
                QStringLiteral("delivery notes.txt"),
                QByteArray("Delivery 4711\r\n  12 boxes A4 paper\r\n  3 toner cartridges\r\n"
                           "Received by: R. Ashdown\r\n")));
            w.AddAttachment(PmlAttachment::File(QStringLiteral("pallet.png"), ChartPng()));
            w.AddAttachment(PmlAttachment::File(QStringLiteral("contract.pdf"),
                                                TinyPdf("Supply contract - signed copy")));

            auto embedded = std::make_shared<PmlWriter>(mtMail);
            Common(*embedded, QStringLiteral("5C21A001.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Ellis Fenwick"), QStringLiteral("Please send the contract"),
                   QStringLiteral("20261201T084500"));
            embedded->SetItem(QStringLiteral("date-delivered"), QStringLiteral("20261201T084600"));
            embedded->AddRecipient(QStringLiteral("Dana Whitlock"),
                                   QStringLiteral("dana.whitlock@brantford.example"),
                                   QStringLiteral("0"));
            embedded->SetPlainText(QStringLiteral(
                "Dana,\r\n\r\ncould you send us the signed contract?\r\n\r\nThanks, Ellis\r\n"));
            w.AddAttachment(
                PmlAttachment::Message(QStringLiteral("Please send the contract"), embedded));

            w.AddAttachment(
                SystemFile(QStringLiteral("Header.txt"),
                           QByteArray("Received: from mail.brantford.example\r\nMessage-ID: "
                                      "<4711@brantford.example>\r\n")));
            w.AddAttachment(SystemFile(
                QStringLiteral("Mime.822"),
                QByteArray("From: Dana Whitlock <dana.whitlock@brantford.example>\r\n"
                           "To: robin.ashdown@halvorn.example\r\nSubject: Supplier "
                           "documents\r\n\r\nRobin, attached are the delivery notes.\r\n")));
            PmlAttachment missing;
            missing.DisplayName = QStringLiteral("price list.xls");
            missing.FileName = QStringLiteral("price list.xls");
            missing.HasData = false;
            w.AddAttachment(missing);
            w.SetSaveLog(QStringLiteral("20261205T120000"), QStringLiteral("-1"));
            w.AddLogItem(QStringLiteral("Attachment 'price list.xls' could not be read."),
                         QStringLiteral("1"));
            written << WriteSample(folder, w, subject);
        }

        // 4. Appointment with a duration.
        {
            const QString subject = QStringLiteral("Budget review");
            PmlWriter w(mtAppointment);
            Common(w, QStringLiteral("5C21AC20.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Ellis Fenwick"), subject, QStringLiteral("20261202T140000"));
            w.SetItem(QStringLiteral("start-date"), QStringLiteral("20261210T100000"));
            w.SetItem(QStringLiteral("end-date"), QStringLiteral("20261210T113000"));
            w.SetItem(QStringLiteral("duration"), QStringLiteral("0.0625"));
            w.SetItem(QStringLiteral("alarm-time"), QStringLiteral("20261210T094500"));
            w.SetItem(QStringLiteral("place"), QStringLiteral("Meeting room 2 (second floor)"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.AddRecipient(QStringLiteral("Tobias Hargreave"),
                           QStringLiteral("tobias.hargreave@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(QStringLiteral(
                "Agenda:\r\n- Figures of Q3\r\n- Plan for next year\r\n- Open questions\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 5. Task with a priority.
        {
            const QString subject = QStringLiteral("Prepare the supplier evaluation");
            PmlWriter w(mtTask);
            Common(w, QStringLiteral("5C21AD02.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Tobias Hargreave"), subject, QStringLiteral("20261201T080000"));
            w.SetCore(QStringLiteral("priority"), QStringLiteral("3"));
            w.SetItem(QStringLiteral("priority"), QStringLiteral("A1"));
            w.SetItem(QStringLiteral("start-date"), QStringLiteral("20261207T000000"));
            w.SetItem(QStringLiteral("due-date"), QStringLiteral("20261218T000000"));
            w.SetItem(QStringLiteral("completed"), QStringLiteral("true"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(QStringLiteral(
                "Compare delivery times, prices and complaints of the three suppliers.\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 6. Phone message with attributes.
        {
            const QString subject = QStringLiteral("Call from Brantford Ltd");
            PmlWriter w(mtPhone);
            Common(w, QStringLiteral("5C21AE7B.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Front Desk"), subject, QStringLiteral("20261208T143000"));
            w.SetItem(QStringLiteral("caller-name"), QStringLiteral("Dana Whitlock"));
            w.SetItem(QStringLiteral("caller-company"), QStringLiteral("Brantford Ltd"));
            w.SetItem(QStringLiteral("phone-number"), QStringLiteral("+44 20 7946 0018"));
            w.SetItem(QStringLiteral("telephoned"), QStringLiteral("true"));
            w.SetItem(QStringLiteral("please-call"), QStringLiteral("true"));
            w.SetItem(QStringLiteral("urgent"), QStringLiteral("true"));
            w.SetItem(QStringLiteral("date-delivered"), QStringLiteral("20261208T143112"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(
                QStringLiteral("About the delayed toner delivery; she is in until 17:00.\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 7. Reminder note.
        {
            const QString subject = QStringLiteral("Renew the parking permit");
            PmlWriter w(mtNote);
            Common(w, QStringLiteral("5C21AF10.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Robin Ashdown"), subject, QStringLiteral("20261130T170000"));
            w.SetCore(QStringLiteral("boxtype"), QStringLiteral("4"));
            w.SetItem(QStringLiteral("start-date"), QStringLiteral("20261215T000000"));
            w.SetPlainText(QStringLiteral(
                "The permit runs out at the end of the year. Form 12b at the front desk.\r\n"));
            written << WriteSample(folder, w, subject);
        }

        // 8. Document reference.
        {
            const QString subject = QStringLiteral("Travel expense policy 2027");
            PmlWriter w(mtDocumentReference);
            Common(w, QStringLiteral("5C21B0A0.halvorn.po1.100.1.1.1@1"),
                   QStringLiteral("Priya Ramaswamy"), subject, QStringLiteral("20261206T101500"));
            w.AddRecipient(QStringLiteral("Robin Ashdown"),
                           QStringLiteral("robin.ashdown@halvorn.example"), QStringLiteral("0"));
            w.SetPlainText(QStringLiteral(
                "Document: Travel expense policy 2027 (version 3), library Finance.\r\n"));
            written << WriteSample(folder, w, subject);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make_samples: %s\n", e.what());
        return 1;
    }
    for (const QString &name : written)
        std::printf("%s\n", qPrintable(name));
    return 0;
}
