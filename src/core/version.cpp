#include "version.h"

namespace tarvex {
std::string_view Version() { return TARVEX_VERSION; }
}
