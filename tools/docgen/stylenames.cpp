// Prints the log styles' names, one a line in style-number order, for the manual page and the
// shell completion: they come from the core, so they cannot drift from what --style takes.
#include <cstdio>

#include "log/tlog.h"
#include "styles/logfactory.h"

int main()
{
    for (int style = 0; style < tarvex::kStyleCount; ++style)
        std::printf("%s\n", tarvex::StyleName(style).c_str());
    return 0;
}
