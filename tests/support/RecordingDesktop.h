#pragma once

#include "base/DesktopServices.h"
#include "base/Error.h"

#include <QObject>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tarvin::testing {

// Desktop services that record what the program asks of the desktop instead of starting
// programs or showing dialogs. Questions, our own dialogs and file dialogs take the answers a
// test scripted; a question or dialog that nobody scripted fails the test (and is answered
// Cancel / No / rejected), so a test can never wait in a modal dialog.
//
// It installs itself for its lifetime: declare one in a fixture or a test.
class TRecordingDesktop : public IDesktopServices {
public:
    struct TMessage {
        TMessageKind Kind;
        QString Title;
        QString Text;
    };

    TRecordingDesktop() : m_scope(*this) {}

    // What was asked, in order.
    std::vector<QString> Opened, OpenedWith, OpenedInEditor;
    std::vector<QUrl> Urls;
    std::vector<TMessage> Messages;
    std::vector<TFileDialogRequest> FileRequests;
    std::vector<QString> Dialogs;      // class names of the dialogs run
    std::vector<QString> FontsOffered; // the font descriptions AskFont started with
    QString ClipboardText;
    QStringList ClipboardFiles;
    bool ClipboardCut = false;
    QString ConsoleOutput;
    int ConsoleReads = 0;

    // Scripted answers, taken in order.
    std::deque<TMessageAnswer> Answers;                   // for questions (more than one button)
    std::deque<QString> FileAnswers;                      // for file and folder dialogs; "" cancels
    std::deque<std::function<int(QObject *)>> DialogRuns; // for ExecDialog: fill in, return code
    std::deque<QString> FontAnswers;                      // for AskFont; "" cancels
    QString FailOpen; // when set, opening a file raises an error with this text

    void OpenFile(QObject *, const QString &path) override {
        failOpenIfAsked();
        Opened.push_back(path);
    }
    void OpenWith(QObject *, const QString &path) override {
        failOpenIfAsked();
        OpenedWith.push_back(path);
    }
    void OpenInTextEditor(QObject *, const QString &path) override {
        failOpenIfAsked();
        OpenedInEditor.push_back(path);
    }
    void OpenUrl(const QUrl &url) override { Urls.push_back(url); }

    TMessageAnswer ShowMessage(QObject *, TMessageKind kind, const QString &title,
                               const QString &text, TMessageButtons buttons,
                               TMessageAnswer) override {
        Messages.push_back({kind, title, text});
        if (buttons == TMessageButtons::Ok)
            return TMessageAnswer::Ok;
        if (Answers.empty()) {
            ADD_FAILURE() << "Unexpected question: " << title.toStdString() << ": "
                          << text.toStdString();
            return buttons == TMessageButtons::YesNo ? TMessageAnswer::No : TMessageAnswer::Cancel;
        }
        const TMessageAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    QString AskSaveFileName(QObject *, const TFileDialogRequest &request) override {
        FileRequests.push_back(request);
        return nextFileAnswer();
    }
    QString AskOpenFileName(QObject *, const TFileDialogRequest &request) override {
        FileRequests.push_back(request);
        return nextFileAnswer();
    }
    QString AskFolder(QObject *, const QString &title, const QString &folder) override {
        FileRequests.push_back({title, folder, {}, {}, {}});
        return nextFileAnswer();
    }
    bool AskFont(QObject *, QString &font) override {
        FontsOffered.push_back(font);
        if (FontAnswers.empty() || FontAnswers.front().isEmpty()) {
            if (!FontAnswers.empty())
                FontAnswers.pop_front();
            return false;
        }
        font = FontAnswers.front();
        FontAnswers.pop_front();
        return true;
    }

    int ExecDialog(QObject *dialog) override {
        Dialogs.push_back(QString::fromLatin1(dialog->metaObject()->className()));
        if (DialogRuns.empty()) {
            ADD_FAILURE() << "Unexpected dialog: " << dialog->metaObject()->className();
            return 0;
        }
        auto run = std::move(DialogRuns.front());
        DialogRuns.pop_front();
        return run(dialog);
    }

    void SetClipboardText(const QString &text) override { ClipboardText = text; }
    void SetClipboardFiles(const QStringList &paths, bool cut) override {
        ClipboardFiles = paths;
        ClipboardCut = cut;
    }

    void WriteConsole(const QString &text) override { ConsoleOutput += text; }
    QString ReadConsoleLine() override {
        ++ConsoleReads;
        return QString();
    }

    // The texts of the messages shown, in order.
    QStringList MessageTexts() const {
        QStringList texts;
        for (const TMessage &message : Messages)
            texts << message.Text;
        return texts;
    }

private:
    void failOpenIfAsked() const {
        if (!FailOpen.isEmpty())
            throw Error(FailOpen);
    }
    QString nextFileAnswer() {
        if (FileAnswers.empty())
            return QString();
        QString answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }

    TScopedDesktop m_scope;
};

} // namespace tarvin::testing
