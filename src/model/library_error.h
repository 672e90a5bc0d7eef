#pragma once
// Why a macro or recoil library refused an operation.

#include <system_error>
#include <type_traits>

namespace zemrak {

enum class LibraryError {
    name_empty = 1,  // a folder or item needs a name
    name_too_long,   // a name field holds at most 49 UTF-16 units
    name_taken,      // another folder, or another item of the folder, has the name
    no_such_folder,  // no record is filed under the folder name
    no_such_item,    // the position holds no item (nothing, or a folder entry)
    locked,          // a locked item's content cannot be changed
    wrong_size,      // an import file does not hold what its kind must hold
    full,            // the list would grow past kMaxLibraryRecords
    changed_outside, // the file is no longer the one read: another program changed it
};
[[nodiscard]] const std::error_category& library_category();
[[nodiscard]] std::error_code make_error_code(LibraryError e);

} // namespace zemrak

template <>
struct std::is_error_code_enum<zemrak::LibraryError> : std::true_type {};
