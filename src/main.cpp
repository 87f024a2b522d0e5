#include "app/ui/Entry.h"

int main(int argc, char **argv) {
    return tarvin::RunProgram(argc, argv);
}
