#pragma once
// The commands that list, import and export the macro and recoil libraries.

#include "commands.h"

#include <span>
#include <string>

namespace zemrak::ctl {

int list_macros(const Context& context, std::span<const std::string> operands);
int import_macros(const Context& context, std::span<const std::string> operands);
int export_macros(const Context& context, std::span<const std::string> operands);
// One macro or one macro folder in and out, as the macro page does it.
int import_macro(const Context& context, std::span<const std::string> operands);
int import_macro_folder(const Context& context, std::span<const std::string> operands);
int export_macro(const Context& context, std::span<const std::string> operands);
int export_macro_folder(const Context& context, std::span<const std::string> operands);
int list_recoils(const Context& context, std::span<const std::string> operands);
int import_recoils(const Context& context, std::span<const std::string> operands);
int export_recoils(const Context& context, std::span<const std::string> operands);
// One pattern or one pattern folder in and out, as the recoil page does it.
int export_recoil(const Context& context, std::span<const std::string> operands);
int import_recoil(const Context& context, std::span<const std::string> operands);
int export_recoil_folder(const Context& context, std::span<const std::string> operands);
int import_recoil_folder(const Context& context, std::span<const std::string> operands);

} // namespace zemrak::ctl
