#pragma once
// The commands that list and change the button records of the current profile.

#include "commands.h"

#include <span>
#include <string>

namespace zemrak::ctl {

int list_buttons(const Context& context, std::span<const std::string> operands);
int set_button(const Context& context, std::span<const std::string> operands);

} // namespace zemrak::ctl
