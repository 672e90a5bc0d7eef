#include "model/library_error.h"

#include <string>

namespace zemrak {
namespace {

class LibraryCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "library"; }
    [[nodiscard]] std::string message(int condition) const override {
        switch (static_cast<LibraryError>(condition)) {
        case LibraryError::name_empty:
            return "the name is empty";
        case LibraryError::name_too_long:
            return "the name is longer than 49 characters";
        case LibraryError::name_taken:
            return "the name is already in use";
        case LibraryError::no_such_folder:
            return "there is no folder of that name";
        case LibraryError::no_such_item:
            return "there is no such item";
        case LibraryError::locked:
            return "the item is locked: its content cannot be changed";
        case LibraryError::wrong_size:
            return "the file's size does not match the records it should hold";
        case LibraryError::full:
            return "the library holds as many records as it can (100,000)";
        case LibraryError::changed_outside:
            return "the file was changed by another program since it was read";
        }
        return "unknown library error";
    }
};

} // namespace

const std::error_category& library_category() {
    static const LibraryCategory category;
    return category;
}

std::error_code make_error_code(LibraryError e) {
    return {static_cast<int>(e), library_category()};
}

} // namespace zemrak
