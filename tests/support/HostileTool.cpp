// Writes the hostile message files into a folder:
//   tarvin_hostile <folder> [--full]
// Without --full the files are small (< 100 KB: regression inputs for the fuzzing corpus);
// with it they have the sizes that once made the program hang or exhaust memory (for
// bench/hostile_bench.sh).

#include "support/HostileFiles.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarvin_hostile <folder> [--full]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool full = argc > 2 && std::strcmp(argv[2], "--full") == 0;
    QDir().mkpath(folder);
    for (const auto &file : tarvin::hostile::HostileSet(full)) {
        QFile out(QDir(folder).filePath(file.Name));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.Bytes) != file.Bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
