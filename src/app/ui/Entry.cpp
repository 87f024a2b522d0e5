#include "app/ui/Entry.h"

#include <QApplication>

namespace tarvin {

int RunProgram(int argc, char **argv) {
    QApplication app(argc, argv);
    return 0;
}

} // namespace tarvin
