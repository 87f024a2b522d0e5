#pragma once

#include "base/Console.h"

namespace tarvin::test {

// Installs itself as the console while it lives: records what is written and answers every
// read with an empty line (Enter).
class RecordingConsole : public TConsole {
public:
    RecordingConsole() : m_previous(SetConsole(this)) {}
    ~RecordingConsole() override { SetConsole(m_previous); }
    void Write(const QString &text) override { output += text; }
    QString ReadLine() override {
        ++reads;
        return QString();
    }

    QString output;
    int reads = 0;

private:
    TConsole *m_previous;
};

} // namespace tarvin::test
