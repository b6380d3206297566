#include "mailercfg/lngerror.h"

#include "platform/paths.h"

namespace tarvex {

std::string ReadLngFile(std::string_view localPath)
{
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(localPath, bytes, &error))
        throw ELngError("Cannot read language file " + std::string(localPath) +
                        (error.empty() ? std::string() : ": " + error));
    return bytes;
}

}  // namespace tarvex
