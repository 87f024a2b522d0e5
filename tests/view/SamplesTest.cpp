#include "model/GWMessage.h"
#include "model/MessageFileName.h"
#include "model/MsgPropertyEncoder.h"
#include "util/SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

using namespace tarvin;

namespace {

struct Sample {
    QString name;
    std::unique_ptr<TGWMessage> msg;
};

std::vector<Sample> LoadSamples() {
    std::vector<Sample> samples;
    const QDir dir(QStringLiteral(TARVIN_SOURCE_DIR "/samples"));
    for (const QString &name : dir.entryList({QStringLiteral("*.pml")}, QDir::Files)) {
        auto msg = std::make_unique<TGWMessage>();
        msg->LoadFromFile(dir.filePath(name));
        samples.push_back({name, std::move(msg)});
    }
    return samples;
}

bool HasRecipientOfType(const TGWMessage &msg, int type) {
    for (const auto &r : msg.CoreProperties.Recipients)
        if (r->TargetType == type)
            return true;
    return false;
}

} // namespace

// The bundled samples are named as the archiver names messages: safe subject and flag code.
TEST(Samples, AreNamedWithTheirSubjectAndFlagCode) {
    const auto samples = LoadSamples();
    ASSERT_GE(samples.size(), 8u);
    for (const Sample &s : samples) {
        SCOPED_TRACE(s.name.toStdString());
        QString subject;
        uint32_t flags = 0;
        ParseMessageFileName(s.name, subject, flags);
        EXPECT_EQ(subject, SafeFileName(s.msg->CoreProperties.Subject));
        TMsgPropertyEncoder encoder;
        encoder.SetMessage(s.msg.get());
        EXPECT_EQ(flags, NormalizeMessageFlags(encoder.GetFlags()));
        EXPECT_TRUE(s.name.endsWith(QStringLiteral("[") + encoder.GetIdentifier() +
                                    QStringLiteral("].pml")));
    }
}

// What the samples must show between them: every item type and the mail features a viewer
// has to handle.
TEST(Samples, CoverTheTypesAndFeaturesOfTheViewer) {
    const auto samples = LoadSamples();
    std::set<int> types;
    bool htmlWithInlineImage = false, htmlWithLink = false, ccAndBc = false, embedded = false,
         system = false, withoutData = false, pdf = false, png = false, text = false;
    for (const Sample &s : samples) {
        const TGWMessage &m = *s.msg;
        types.insert(int(m.MessageType));
        if (m.HasHtmlBody) {
            const QString html = m.HtmlBodyAttachment->DataText();
            htmlWithLink = htmlWithLink || html.contains(QStringLiteral("<a href=\"https://"));
            for (const QString &id : m.HtmlBodyAttachment->ContentIds())
                for (const auto &a : m.Attachments)
                    if (a->FileName == id && a->HasData() && html.contains(id))
                        htmlWithInlineImage = true;
        }
        ccAndBc = ccAndBc || (HasRecipientOfType(m, 1) && HasRecipientOfType(m, 2));
        embedded = embedded || m.HasEmbeddedMessage;
        for (const auto &a : m.Attachments) {
            system = system || (a->IsSystem && !a->IsHtmlBody && !a->IsImage);
            withoutData = withoutData || !a->HasData();
            if (a->ObjectType == TObjectType::File && !a->IsSystem && a->HasData()) {
                pdf = pdf || a->FileName.endsWith(QStringLiteral(".pdf"));
                png = png || a->FileName.endsWith(QStringLiteral(".png"));
                text = text || a->FileName.endsWith(QStringLiteral(".txt"));
            }
        }
        if (m.HasEmbeddedMessage) {
            for (const auto &a : m.Attachments) {
                if (a->ObjectType != TObjectType::EmbeddedMessage)
                    continue;
                TGWMessage inner;
                inner.LoadFromXml(a->DataText());
                EXPECT_EQ(inner.MessageType, mtMail);
            }
        }
    }
    EXPECT_EQ(types.size(), 6u);
    EXPECT_TRUE(htmlWithInlineImage);
    EXPECT_TRUE(htmlWithLink);
    EXPECT_TRUE(ccAndBc);
    EXPECT_TRUE(embedded);
    EXPECT_TRUE(system);
    EXPECT_TRUE(withoutData);
    EXPECT_TRUE(pdf && png && text);
}

// The generated PNG and PDF files are valid: the image decodes, every cross-reference entry of
// the PDF points at its object.
TEST(Samples, GeneratedFilesAreValid) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int checked = 0;
    for (const Sample &s : LoadSamples()) {
        for (const auto &a : s.msg->Attachments) {
            if (a->ObjectType != TObjectType::File || !a->HasData())
                continue;
            const QString path = dir.filePath(QStringLiteral("data"));
            a->SaveDataToFile(path);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray data = file.readAll();
            if (a->FileName.endsWith(QStringLiteral(".png"))) {
                EXPECT_FALSE(QImage::fromData(data, "PNG").isNull()) << a->FileName.toStdString();
                ++checked;
            } else if (a->FileName.endsWith(QStringLiteral(".pdf"))) {
                ASSERT_TRUE(data.startsWith("%PDF-1.4\n"));
                ASSERT_TRUE(data.endsWith("%%EOF\n"));
                const qsizetype start = data.lastIndexOf("startxref\n") + 10;
                const qsizetype xref =
                    data.mid(start, data.indexOf('\n', start) - start).toLongLong();
                ASSERT_EQ(data.mid(xref, 5), QByteArray("xref\n"));
                const QList<QByteArray> lines = data.mid(xref).split('\n');
                const int count = lines[1].split(' ')[1].toInt();
                for (int i = 1; i < count; ++i) {
                    const qsizetype offset = lines[2 + i].left(10).toLongLong();
                    EXPECT_TRUE(data.mid(offset).startsWith(QByteArray::number(i) + " 0 obj")) << i;
                }
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 3);
}
