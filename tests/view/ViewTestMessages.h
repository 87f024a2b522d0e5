#pragma once

#include "model/GWMessage.h"
#include "support/PmlWriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace tarvin::viewtest {

// The message a writer describes, loaded as the viewer loads a file.
inline std::unique_ptr<TGWMessage> Load(const PmlWriter &writer) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromXml(QString::fromUtf8(writer.ToXml()));
    return message;
}

// A file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Small pictures and texts used as attachment payloads.
inline QByteArray PngBytes() {
    return QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQ"
                                  "DwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
}

// A mail with an HTML body, a picture referenced by content id, a text file, an embedded
// appointment, a file without data and a MIME copy.
inline PmlWriter RichMail() {
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann Lee").SetCore("subject", "Quarterly figures").SetCore("boxtype", "1");
    mail.SetMapi("4A1B.2C3D.1000.1.1.1.1@50");
    mail.SetPlainText("Hello Bob,\nthe figures are attached.");
    mail.SetBodyProperties("From:\tAnn Lee\nSubject:\tQuarterly figures");
    PmlAttachment html = PmlAttachment::File(
        "TEXT.htm", "<html><body><p>Hello <b>Bob</b></p><img src=\"logo001\"></body></html>");
    html.FileName = "TEXT.htm";
    html.ContentIds = {"logo001", "missing002", "../escape"};
    mail.AddAttachment(html);
    PmlAttachment logo = PmlAttachment::File("IMAGE.png", PngBytes());
    logo.FileName = "logo001";
    mail.AddAttachment(logo);
    PmlAttachment escape = PmlAttachment::File("IMAGE2.png", "outside");
    escape.FileName = "../escape";
    escape.DisplayName = "IMAGE.x";
    mail.AddAttachment(escape);
    mail.AddAttachment(PmlAttachment::File("notes.txt", "some notes\n"));
    auto appt = std::make_shared<PmlWriter>(mtAppointment);
    appt->SetCore("subject", "Review").SetCore("from", "Carl").SetMapi("APPT.1");
    mail.AddAttachment(PmlAttachment::Message("", appt));
    PmlAttachment empty = PmlAttachment::File("lost.pdf", QByteArray());
    empty.HasData = false;
    mail.AddAttachment(empty);
    PmlAttachment mime = PmlAttachment::File("Mime.822", "From: Ann\r\n\r\nHello");
    mail.AddAttachment(mime);
    return mail;
}

} // namespace tarvin::viewtest
