#pragma once
// Helpers of the screenshot tool (Screenshots.cpp). The find window lives in a source of its
// own (ScreenshotsFind.cpp) because its headers and the explorer's each declare a
// TFileAttribute of their own.
#include <QString>
#include <functional>

class QWidget;

[[noreturn]] void Fail(const QString &text);
// Lets the windows work until `done` holds; gives up after `ms`.
void WaitFor(const std::function<bool()> &done, int ms, const char *what);
// Lets the windows work for `ms`.
void Settle(int ms);
void SetOutputFolder(const QString &folder);
// Grabs `window` as OUTPUT_FOLDER/<name>.png.
void Save(QWidget *window, const char *name);

// Finds "supplier" in the archive and grabs the Message Search window.
void ShootFindWindow(const QString &archive);
