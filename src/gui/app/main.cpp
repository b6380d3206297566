#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "version.h"

int main(int argc, char** argv)
{
    // --version must work without a display, so answer it before Qt looks for one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Tarvex %.*s\n", static_cast<int>(tarvex::Version().size()), tarvex::Version().data());
            return 0;
        }
    }
    return RunTarvex(argc, argv);
}
