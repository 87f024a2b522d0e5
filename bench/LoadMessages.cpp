// Loads message files fully, as the viewer and the date converter do: every field, the message
// date, the file-name code, and the XML text of every embedded message.
//   bench_model_load [--save <folder>] <file or folder>...
// prints the number of files and the time taken. With --save every file attachment is also
// written into the folder (streamed), as the viewer does when it opens attachments.

#include "base/Error.h"
#include "model/GWMessage.h"
#include "model/MessageItems.h"
#include "model/MsgPropertyEncoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

using namespace tarvin;

int main(int argc, char **argv) {
    QStringList files;
    QString saveFolder;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--save") && i + 1 < argc) {
            saveFolder = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (QFileInfo(arg).isDir()) {
            QDir dir(arg);
            for (const QString &name : dir.entryList({"*.pml"}, QDir::Files, QDir::Name))
                files << dir.filePath(name);
        } else {
            files << arg;
        }
    }
    QElapsedTimer timer;
    timer.start();
    double checksum = 0;
    qint64 embeddedChars = 0;
    int failures = 0;
    for (const QString &path : files) {
        try {
            TGWMessage msg;
            msg.LoadFromFile(path);
            checksum += GetMessageDate(&msg);
            TMsgPropertyEncoder encoder;
            encoder.SetMessage(&msg);
            checksum += encoder.GetIdentifier().size();
            for (const auto &attachment : msg.Attachments) {
                if (attachment->ObjectType == TObjectType::EmbeddedMessage)
                    embeddedChars += attachment->DataText().size();
                else if (!saveFolder.isEmpty())
                    attachment->SaveDataToFolder(saveFolder);
            }
        } catch (const Error &e) {
            ++failures;
            std::fprintf(stderr, "%s\n", e.what());
        }
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%lld files, %d failed, %.3f s (checksum %.1f, embedded %lld chars)\n",
                static_cast<long long>(files.size()), failures, seconds, checksum,
                static_cast<long long>(embeddedChars));
    return failures ? 1 : 0;
}
