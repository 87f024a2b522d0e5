// Content and name search through the find engine, for comparison with grep and find.
//   find_bench FOLDER PHRASE [--ignore-case] [--name TEXT]
// Searches FOLDER with subfolders and the default attributes for message files whose name
// holds TEXT (as typed into the find window's subject field) and whose bytes hold PHRASE (an
// empty PHRASE: no content test). Prints each hit's path on its own line and the elapsed time
// on standard error. See run_find_bench.sh.

#include "search/FileSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

using namespace tarvin;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString folder, phrase, name;
    bool ignoreCase = false;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--ignore-case") == 0) {
            ignoreCase = true;
        } else if (std::strcmp(argv[i], "--name") == 0 && i + 1 < argc) {
            name = QString::fromLocal8Bit(argv[++i]);
        } else if (positional == 0) {
            folder = QString::fromLocal8Bit(argv[i]);
            ++positional;
        } else if (positional == 1) {
            phrase = QString::fromLocal8Bit(argv[i]);
            ++positional;
        } else {
            positional = 3;
        }
    }
    if (positional != 2) {
        std::fprintf(stderr, "usage: %s FOLDER PHRASE [--ignore-case] [--name TEXT]\n", argv[0]);
        return 2;
    }

    TSearchCriteria criteria;
    criteria.Files.FileName = SubjectToNamePattern(name);
    criteria.Files.Location = folder;
    criteria.Files.IncludeSubfolders = true;
    criteria.Content.Phrase = phrase;
    criteria.Content.IgnoreCase = ignoreCase;

    QElapsedTimer clock;
    clock.start();
    TFileSearch search;
    QObject::connect(&search, &TFileSearch::FileMatch,
                     [](const QString &, const QByteArray &nativePath) {
                         std::fwrite(nativePath.constData(), 1, size_t(nativePath.size()), stdout);
                         std::fputc('\n', stdout);
                     });
    QObject::connect(&search, &TFileSearch::Problem, [](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QObject::connect(&search, &TFileSearch::SearchFinish, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    search.Start(criteria);
    app.exec();
    std::fflush(stdout);
    std::fprintf(stderr, "%d folder(s), %d file(s), %.3f s\n", search.FoldersSearched(),
                 search.FilesFound(), double(clock.nsecsElapsed()) / 1e9);
    return 0;
}
