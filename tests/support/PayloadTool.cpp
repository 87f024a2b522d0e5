// Prints the attachment payload of a file as message files store it: the zlib stream of the
// file's bytes, base64-encoded in lines of 76 characters. Used to write test data by hand.
//   tarvin_payload <file>      (or standard input when no file is named)

#include "support/PmlWriter.h"

#include <QFile>
#include <cstdio>

int main(int argc, char **argv) {
    QFile in;
    if (argc > 1) {
        in.setFileName(QString::fromLocal8Bit(argv[1]));
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
    } else if (!in.open(stdin, QIODevice::ReadOnly)) {
        return 1;
    }
    const QByteArray payload = tarvin::Base64Lines(tarvin::ZlibCompress(in.readAll(), 9), 76);
    std::fwrite(payload.constData(), 1, size_t(payload.size()), stdout);
    return 0;
}
