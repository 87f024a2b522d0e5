#include "app/Launcher.h"

int main(int argc, char **argv) {
    return tarvin::RunLauncher(argc, argv);
}
