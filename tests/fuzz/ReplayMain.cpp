// Runs the given files and every file below the given folders (all subfolders) through one fuzz
// target, the same function that the libFuzzer executable of that target calls:
//   fuzz_replay TARGET FILE-OR-FOLDER...
// A broken rule aborts, so the test fails and the last "replay" line names the file.

#include "fuzz/FuzzTargets.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz_replay TARGET FILE-OR-FOLDER...\n");
        return 2;
    }
    const tarvin::fuzz::TFuzzTarget target = tarvin::fuzz::FindFuzzTarget(argv[1]);
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s; known:", argv[1]);
        for (const auto &entry : tarvin::fuzz::FuzzTargets())
            std::fprintf(stderr, " %s", entry.Name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    tarvin::fuzz::InitFuzzing();
    QStringList files;
    for (int i = 2; i < argc; ++i) {
        const QString given = QFile::decodeName(argv[i]);
        if (QFileInfo(given).isFile()) {
            files << given;
            continue;
        }
        QDirIterator it(given, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replay %s\n", QFile::encodeName(path).constData());
        target(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%s: %lld files replayed\n", argv[1], static_cast<long long>(files.size()));
    return 0;
}
