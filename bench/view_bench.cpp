// Times a viewer frame from FileName being set to the body being on screen, in plain-text
// and in HTML mode, for the bundled samples (or the files given) and for a 5 MB message.
// Prints the median of each series in milliseconds.
//
//   view_bench [--runs N] [message.pml ...]

#include "support/PmlWriter.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/web/HtmlBodyView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvin;

namespace {

bool WaitFor(const std::function<bool()> &done, int msecs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < msecs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    return done();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A message of about 5 MB on disk: `bodyBytes` of plain text, as much HTML with one
// picture, and an incompressible file attachment making up the rest.
QString WriteLargeMessage(const QString &folder, const QString &name, int bodyBytes) {
    PmlWriter mail(mtMail);
    const QString line =
        QStringLiteral("The quarterly figures of the northern region are attached. ");
    QString plain;
    while (plain.size() < bodyBytes)
        plain += line + QString::number(plain.size()) + QLatin1Char('\n');
    mail.SetCore("from", "Ann Lee").SetCore("subject", "Large message").SetPlainText(plain);
    QByteArray html = "<html><body><img src=\"chart001\">";
    while (html.size() < bodyBytes)
        html += "<p>The quarterly <b>figures</b> of the northern region are attached.</p>\n";
    html += "</body></html>";
    PmlAttachment body = PmlAttachment::File("TEXT.htm", html);
    body.ContentIds = {"chart001"};
    mail.AddAttachment(body);
    // Base64 makes 3 bytes 4; the file should end near 5 MB.
    const int fileBytes = std::max(100'000, (5'000'000 - 2 * bodyBytes / 8) * 3 / 4);
    QByteArray noise(fileBytes, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &c : noise)
        c = char(generator.bounded(256));
    PmlAttachment chart = PmlAttachment::File("IMAGE.bin", noise.left(50'000));
    chart.FileName = "chart001";
    mail.AddAttachment(chart);
    mail.AddAttachment(PmlAttachment::File("data.bin", noise));
    const QString path = folder + "/" + name;
    mail.WriteFile(path);
    return path;
}

// Runs one series; the frame alternates with an empty name so that each run loads anew.
double Series(TTarvinFrame &frame, const QString &path, bool html, int runs, bool &hadHtml) {
    std::vector<double> times;
    hadHtml = false;
    for (int i = 0; i < runs + 2; ++i) { // two warm-up runs
        frame.SetFileName(QString());
        QCoreApplication::processEvents();
        bool loaded = false;
        auto connection = QObject::connect(dynamic_cast<THtmlBodyView *>(frame.HtmlView()),
                                           &THtmlBodyView::BodyLoaded, [&] { loaded = true; });
        bool shown = false;
        auto plainConnection =
            QObject::connect(&frame, &TTarvinFrame::BodyShown, [&] { shown = true; });
        QElapsedTimer timer;
        timer.start();
        frame.SetFileName(path);
        if (html)
            frame.SetPlainText(false);
        else
            frame.SetPlainText(true);
        bool isHtml = html && frame.HasHtmlBody();
        if (isHtml)
            WaitFor([&] { return loaded; });
        else
            WaitFor([&] { return shown; });
        double ms = timer.nsecsElapsed() / 1e6;
        QObject::disconnect(connection);
        QObject::disconnect(plainConnection);
        hadHtml = isHtml;
        if (i >= 2)
            times.push_back(ms);
    }
    return Median(times);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    int runs = 9;
    QStringList files;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = args[++i].toInt();
        else
            files << args[i];
    }
    if (files.isEmpty()) {
        QDir samples(QStringLiteral(TARVIN_SOURCE_DIR "/samples"));
        for (const QString &name : samples.entryList({"*.pml"}, QDir::Files, QDir::Name))
            files << samples.filePath(name);
    }
    QTemporaryDir temp;
    // 5 MB mostly of attachments with a long body, and 5 MB with a 1 MB body in both forms.
    files << WriteLargeMessage(temp.path(), "5MB-attachments.pml", 100'000);
    files << WriteLargeMessage(temp.path(), "5MB-1MB-body.pml", 1'000'000);

    TTarvinFrame frame;
    frame.resize(800, 700);
    frame.show();
    // Start the HTML engine before anything is timed.
    frame.HtmlView()->LoadFile(QString());
    WaitFor([&] { return !frame.HtmlView()->IsBusy(); }, 30000);

    std::printf("%-58s %10s %10s\n", "message", "plain ms", "HTML ms");
    for (const QString &file : files) {
        bool dummy = false, hadHtml = false;
        double plain = Series(frame, file, false, runs, dummy);
        double html = Series(frame, file, true, runs, hadHtml);
        QString name = QFileInfo(file).fileName();
        if (name.size() > 56)
            name = name.left(53) + "...";
        std::printf("%-58s %10.1f %10s\n", qPrintable(name), plain,
                    hadHtml ? qPrintable(QString::number(html, 'f', 1)) : "-");
        std::fflush(stdout);
    }
    return 0;
}
