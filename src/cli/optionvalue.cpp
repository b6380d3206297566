#include "optionvalue.h"

#include <ostream>

bool TakeOptionValue(const std::vector<std::string>& args, std::size_t& i, std::string& into,
                     const std::string& prefix, std::ostream& err)
{
    if (i + 1 >= args.size()) {
        err << prefix << args[i] << " needs a value\n";
        return false;
    }
    into = args[++i];
    return true;
}
