#pragma once
// The commands that list, import and export the macro and recoil libraries.

#include "commands.h"

#include <span>
#include <string>

namespace zemrak::ctl {

int list_macros(const Context& context, std::span<const std::string> operands);
int import_macros(const Context& context, std::span<const std::string> operands);
int export_macros(const Context& context, std::span<const std::string> operands);
int list_recoils(const Context& context, std::span<const std::string> operands);
int import_recoils(const Context& context, std::span<const std::string> operands);
int export_recoils(const Context& context, std::span<const std::string> operands);
int export_recoil(const Context& context, std::span<const std::string> operands);
int import_recoil(const Context& context, std::span<const std::string> operands);
int export_recoil_folder(const Context& context, std::span<const std::string> operands);
int import_recoil_folder(const Context& context, std::span<const std::string> operands);

// What tells one library from the other; the commands of both share the functions below.
struct LibraryKind;

// The single-item and whole-folder exchange of one library, as its page does it:
//   export POSITION FILE [--locked]   the item at POSITION (not a folder entry)
//   import FILE [FOLDER]              one item, into FOLDER or into a new folder of its own
//   export-folder FOLDER FILE [--locked]
//   import-folder FILE                a new folder named after FILE
// Files of the wrong size are refused and change nothing (exit status 1).
int export_library_item(const Context& context, const LibraryKind& kind,
                        std::span<const std::string> operands);
int import_library_item(const Context& context, const LibraryKind& kind,
                        std::span<const std::string> operands);
int export_library_folder(const Context& context, const LibraryKind& kind,
                          std::span<const std::string> operands);
int import_library_folder(const Context& context, const LibraryKind& kind,
                          std::span<const std::string> operands);

} // namespace zemrak::ctl
