// Message-list benchmark driver: lists one folder through the message list model (worker-thread
// listing in batches, then the sort by Date, ascending) and prints one line per row in sorted
// order: file name, subject, flag word (hexadecimal), item icon index and date text, separated
// by tabs. The elapsed time goes to standard error. See run_list_bench.sh.
//
//   list_bench FOLDER [subject|date] [asc|desc]

#include "explorer/MessageListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

using namespace tarvin;

int main(int argc, char **argv) {
    QElapsedTimer timer;
    timer.start();
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: list_bench FOLDER [subject|date] [asc|desc]\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    const int column = argc > 2 && qstrcmp(argv[2], "subject") == 0 ? mlcSubject : mlcDate;
    const Qt::SortOrder order =
        argc > 3 && qstrcmp(argv[3], "desc") == 0 ? Qt::DescendingOrder : Qt::AscendingOrder;

    TMessageListModel model;
    model.SetSort(column, order);
    model.SetDateMode(FolderDateMode(folder, false));
    QString error;
    QObject::connect(&model, &TMessageListModel::ListingFinished, &app,
                     [&error](const QString &message) {
                         error = message;
                         QCoreApplication::quit();
                     });
    model.ListFolder(folder);
    app.exec();
    if (!error.isEmpty()) {
        fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }

    static char buffer[1 << 16];
    setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    const int rows = model.rowCount();
    for (int i = 0; i < rows; ++i) {
        const TMessageRowView view = model.DescribeRow(i);
        const QByteArray &name = model.Row(i).Name;
        fwrite(name.constData(), 1, size_t(name.size()), stdout);
        const QByteArray subject = view.Name.Subject.toUtf8();
        const QByteArray date = view.DateText.toUtf8();
        fprintf(stdout, "\t%s\t%04x\t%d\t%s\n", subject.constData(), view.Name.Flags,
                view.IconIndex, date.constData());
    }
    fflush(stdout);
    fprintf(stderr, "list_bench: %d rows in %.3f s\n", rows, double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
