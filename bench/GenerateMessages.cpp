// Writes synthetic message files of realistic shape for the model benchmark.
//   bench_model_generate <folder> <count> [seed]      mixed messages, 5 KB .. 500 KB
//   bench_model_generate --big <file> <megabytes> [parts]
//                                                     one message of about that size whose
//                                                     attachments (5 unless given) fill it

#include "support/PmlWriter.h"

#include <QDir>
#include <QString>
#include <cmath>
#include <cstdio>
#include <random>

using namespace tarvin;

namespace {

const char *const kWords[] = {
    "budget",  "meeting",  "report",   "quarter",  "figures", "review",   "project", "plan",
    "team",    "customer", "contract", "draft",    "please",  "attached", "thanks",  "schedule",
    "update",  "regards",  "deadline", "invoice",  "the",     "and",      "for",     "with",
    "this",    "that",     "we",       "will",     "next",    "week",     "office",  "agenda",
    "minutes", "hiring",   "travel",   "approval", "Größe",   "résumé",   "naïve",   "€"};

class Generator {
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    // Log-uniform between lo and hi: many small messages, some large ones.
    int LogUniform(int lo, int hi) {
        std::uniform_real_distribution<double> d(std::log(double(lo)), std::log(double(hi)));
        return int(std::exp(d(m_rng)));
    }

    QString Words(int bytes) {
        QString text;
        int line = 0;
        while (text.size() < bytes) {
            const QString word = QString::fromUtf8(kWords[Uniform(0, std::size(kWords) - 1)]);
            text += word;
            line += word.size() + 1;
            if (line > 72) {
                text += QStringLiteral("\r\n");
                line = 0;
            } else {
                text += QLatin1Char(' ');
            }
        }
        return text;
    }

    QByteArray Binary(int bytes) {
        QByteArray data(bytes, Qt::Uninitialized);
        for (int i = 0; i < bytes; ++i)
            data[i] = char(m_rng() & 0xFF);
        return data;
    }

    QString Date(int year) {
        return QStringLiteral("%1%2%3T%4%5%6")
            .arg(year)
            .arg(Uniform(1, 12), 2, 10, QLatin1Char('0'))
            .arg(Uniform(1, 28), 2, 10, QLatin1Char('0'))
            .arg(Uniform(0, 23), 2, 10, QLatin1Char('0'))
            .arg(Uniform(0, 59), 2, 10, QLatin1Char('0'))
            .arg(Uniform(0, 59), 2, 10, QLatin1Char('0'));
    }

    TGWMessageType Type() {
        const int r = Uniform(0, 99);
        if (r < 70)
            return mtMail;
        if (r < 80)
            return mtAppointment;
        if (r < 85)
            return mtTask;
        if (r < 90)
            return mtNote;
        if (r < 95)
            return mtPhone;
        return mtDocumentReference;
    }

    // A message whose file is about `target` bytes.
    PmlWriter Message(int index, int target, bool allowEmbedded = true) {
        const TGWMessageType type = Type();
        PmlWriter w(type);
        w.SetMapi(QStringLiteral("%1.dom1.po1.100.1.1.%2@1")
                      .arg(index * 7919, 8, 16, QLatin1Char('0'))
                      .arg(index));
        w.SetCore("subject", Words(Uniform(10, 60)).simplified());
        w.SetCore("from", QStringLiteral("Sender %1").arg(Uniform(1, 200)));
        w.SetCore("date-create", Date(Uniform(2005, 2024)));
        w.SetCore("date-modified", Date(2024));
        w.SetCore("boxtype", QString::number(Uniform(1, 4)));
        w.SetCore("priority", QString::number(Uniform(1, 3)));
        w.SetCore("read", Uniform(0, 1) ? "true" : "false");
        w.SetSender(QStringLiteral("Sender Name"), QStringLiteral("sender@example.org"), "SMTP",
                    "1");
        const int recipients = LogUniform(1, 60);
        for (int r = 0; r < recipients; ++r)
            w.AddRecipient(QStringLiteral("Recipient %1").arg(r),
                           QStringLiteral("recipient%1@example.org").arg(r),
                           QString::number(Uniform(0, 2)), "SMTP");
        w.AddFolder("F1", "Mailbox");
        if (Uniform(0, 3) == 0)
            w.AddField("Project", "1", Words(20));
        if (Uniform(0, 5) == 0)
            w.AddField("Notes", "4", Words(Uniform(100, 2000)));
        w.AddCategory("Work");
        for (int l = 0, n = Uniform(1, 4); l < n; ++l)
            w.AddLogItem(QStringLiteral("Saved item step %1").arg(l), QString::number(l));

        int remaining = target - 1700 - recipients * 110;
        // Small messages are mostly text; larger ones carry attachments.
        const int plain = remaining < 8000 ? std::max(200, remaining)
                                           : std::min(remaining / 3, Uniform(2000, 20000));
        w.SetPlainText(Words(plain));
        remaining -= plain;
        if (type == mtMail && Uniform(0, 1)) {
            // HTML body with an inline image.
            PmlAttachment html = PmlAttachment::File(
                "TEXT.htm", ("<html><body><p>" + Words(std::max(200, plain)) +
                             "</p>"
                             "<img src=\"cid:image001.png@01DA\"></body></html>")
                                .toUtf8());
            w.AddAttachment(html);
            remaining -= plain / 2;
            PmlAttachment image = PmlAttachment::File("IMAGE.001", Binary(Uniform(500, 4000)));
            image.FileName = "image001.png@01DA";
            image.ContentIds = {"image001.png@01DA"};
            w.AddAttachment(image);
            remaining -= 3000;
        }
        if (allowEmbedded && remaining > 20000 && Uniform(0, 9) == 0) {
            const int size = remaining / 2;
            w.AddAttachment(PmlAttachment::Message(
                "Fwd: " + Words(20).simplified(),
                std::make_shared<PmlWriter>(Message(index + 1000000, size, false))));
            remaining -= size;
        }
        // File attachments fill the rest: base64 of compressed data is 4/3 of its size.
        int files = 0;
        while (remaining > 2000 && files < 4) {
            const int stored = files == 3 ? remaining : std::max(1500, remaining / Uniform(1, 3));
            const bool binary = Uniform(0, 1);
            const QString name =
                QStringLiteral("attachment%1.%2").arg(files).arg(binary ? "bin" : "txt");
            // Text compresses about 3:1, random bytes not at all.
            QByteArray content = binary ? Binary(stored * 3 / 4) : Words(stored * 9 / 4).toUtf8();
            w.AddAttachment(PmlAttachment::File(name, content));
            remaining -= stored;
            ++files;
        }
        return w;
    }

private:
    std::mt19937 m_rng;
};

} // namespace

int main(int argc, char **argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "--big") {
        Generator gen(7);
        const int megabytes = std::atoi(argv[3]);
        PmlWriter w = gen.Message(1, 100000, false);
        // A large message: several attachments, mostly incompressible (scans, archives).
        const int parts = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
        for (int i = 0; i < parts; ++i) {
            const int stored = megabytes * 1024 * 1024 / parts;
            w.AddAttachment(PmlAttachment::File(QStringLiteral("scan%1.pdf").arg(i),
                                                gen.Binary(stored * 3 / 4)));
        }
        if (!w.WriteFile(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <count> [seed] | --big <file> <MB>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    Generator gen(argc > 3 ? unsigned(std::atoi(argv[3])) : 1u);
    QDir().mkpath(folder);
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        const int target = gen.LogUniform(5 * 1024, 500 * 1024);
        const QByteArray xml = gen.Message(i, target).ToXml();
        QFile f(
            QDir(folder).filePath(QStringLiteral("message%1.pml").arg(i, 5, 10, QLatin1Char('0'))));
        if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
        total += xml.size();
    }
    std::printf("%d messages, %.1f MB\n", count, double(total) / 1048576.0);
    return 0;
}
