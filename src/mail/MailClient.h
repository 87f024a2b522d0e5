#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

namespace tarvin {

// The desktop's own mail client, reached through xdg-email (xdg-utils), which hands a new
// mail to the program set as the default handler of "mailto" links.

// A new mail for the mail client's compose window.
struct TMailClientMessage {
    QStringList To; // addresses
    QStringList CC; // addresses
    QString Subject;
    QString Body;
    QStringList Attachments; // file paths
};

inline constexpr const char *kMailClientProgram = "xdg-email";
// How long xdg-email may take before it counts as the mail client itself, left running.
inline constexpr int kMailClientWaitMs = 10000;

// The arguments of xdg-email for a message: "--utf8", then "--to" and "--cc" per address,
// "--subject", "--body" and "--attach" per file. Each text is one argument of its own, after
// its option, so nothing in it can become an option; empty texts and addresses are left out
// (xdg-email refuses an empty argument).
QStringList XdgEmailArguments(const TMailClientMessage &message);

// True when xdg-email is on PATH and a default handler for "mailto" links is set.
bool IsMailClientInstalled();

// Starts `program` (found on PATH) with the arguments, never through a shell, and waits until
// it ends, at most `waitMs` or until `cancel` is set. A failure to start, or an end with an
// exit status other than 0, raises Error with the status and the program's error output.
// A program still running after the wait is left running (it is the mail client itself).
void RunMailClient(const QString &program, const QStringList &arguments,
                   const std::atomic_bool *cancel = nullptr, int waitMs = kMailClientWaitMs);

} // namespace tarvin
