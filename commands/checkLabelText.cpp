#include "commands/checkLabelText.h"

#include "cli/controlCharacters.h"

#include <boost/program_options/cmdline.hpp>
#include <boost/program_options/errors.hpp>

void checkLabelText(const std::string& label, const std::string& name)
{
    if (hasControlCharacters(label)) {
        boost::program_options::invalid_option_value error(label);
        error.set_option_name(name);
        error.set_prefix(boost::program_options::command_line_style::allow_long);
        throw error;
    }
}
