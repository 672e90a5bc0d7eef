#include "library_commands.h"

#include "application/app_data.h"
#include "command_line.h"
#include "model/library_error.h"
#include "model/unicode.h"
#include "printable.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>

namespace zemrak::ctl {
namespace {

// What sets the two libraries apart here.
struct LibraryKind {
    const char* file_name;        // in the data folder
    const char* folder_extension; // of a whole-folder file
    const char* item_word;        // what the library holds, for messages
    const char* list_command;     // the command that lists positions
    RecordLibrary& (*library)(AppData&);
};

const LibraryKind kMacros{kMacroFileName, ".mbins", "macro", "macros",
                          [](AppData& data) -> RecordLibrary& { return data.macros(); }};
const LibraryKind kRecoils{kRecoilFileName, ".gbins", "recoil pattern", "recoils",
                           [](AppData& data) -> RecordLibrary& { return data.recoils(); }};

constexpr std::string_view kLockedOption = "--locked";

// One line of a library listing: position, F (folder entry) or I (item), folder name, item
// name, the count, the second field and the locked flag, separated by tabs.
struct LibraryRow {
    bool folder_entry = false;
    std::u16string folder;
    std::u16string item;
    unsigned count = 0;
    unsigned second = 0;
    bool locked = false;
};

// Loads a library as start-up does. A file that was not read whole is reported (and kept
// aside by the load). Nothing when the library must not be used: a file that exists but
// could not be read (the library leaves it alone), or a failure to keep a file aside.
RecordLibrary* load(const Context& context, AppData& data, const LibraryKind& kind) {
    RecordLibrary& library = kind.library(data);
    const LibraryLoad loaded = library.load();
    if (!loaded.damaged_copy.empty()) {
        context.err << "zemrakctl: " << kind.file_name
                    << " ended in a partial record; the original is kept as "
                    << printable_path(loaded.damaged_copy) << '\n';
    }
    if (loaded.error) {
        context.err << "zemrakctl: " << printable_path(library.file()) << ": "
                    << loaded.error.message() << '\n';
        return nullptr;
    }
    return &library;
}

template <class Record, class ToRow>
int list(const Context& context, const LibraryKind& kind, ToRow to_row) {
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    const auto size = static_cast<std::int32_t>(library->size());
    for (std::int32_t position = 0; position < size; ++position) {
        const LibraryRow row = to_row(*record_from<Record>(library->record_bytes(position)));
        context.out << position << '\t' << (row.folder_entry ? 'F' : 'I') << '\t'
                    << printable(row.folder) << '\t' << printable(row.item) << '\t' << row.count
                    << '\t' << row.second << '\t' << (row.locked ? 1 : 0) << '\n';
    }
    return kExitOk;
}

bool is_folder_file(const std::filesystem::path& file, const LibraryKind& kind) {
    std::string extension = file.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == kind.folder_extension;
}

int import_into(const Context& context, const LibraryKind& kind, const std::string& operand) {
    const std::filesystem::path file = operand;
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    RecordLibrary& records = *library;
    const std::size_t before = records.size();
    // A single item comes with no folder of ours to go into: it brings its own.
    const LibraryResult result =
        is_folder_file(file, kind) ? records.import_folder(file) : records.import_item(file);
    if (result.error && records.size() == before) {
        context.err << "zemrakctl: cannot import " << printable_path(file) << ": "
                    << result.error.message() << '\n';
        return kExitFailure;
    }
    if (result.error) {
        context.err << "zemrakctl: could not save " << printable_path(records.file()) << ": "
                    << result.error.message() << '\n';
        return kExitFailure;
    }
    const std::u16string folder = records.folder_name_at(result.position).value_or(u"");
    context.out << "imported " << records.size() - before << " records into folder "
                << printable(folder) << '\n';
    return kExitOk;
}

int export_from(const Context& context, const LibraryKind& kind,
                std::span<const std::string> operands) {
    const std::optional<std::size_t> index = parse_index(operands[0]);
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    const RecordLibrary& records = *library;
    if (!index || *index >= records.size()) {
        context.err << "zemrakctl: '" << printable(std::string_view(operands[0]))
                    << "' is not a position of " << kind.file_name << " (see its listing)\n";
        return kExitUsage;
    }
    const auto position = static_cast<std::int32_t>(*index);
    const std::filesystem::path file = operands[1];
    const bool folder = records.is_folder_entry(position);
    const LibraryResult result =
        folder ? records.export_folder(*records.folder_name_at(position), file, ExportMode::plain)
               : records.export_item(position, file, ExportMode::plain);
    if (result.error) {
        context.err << "zemrakctl: could not write " << printable_path(file) << ": "
                    << result.error.message() << '\n';
        return kExitFailure;
    }
    context.out << "exported " << (folder ? "folder " : std::string(kind.item_word) + ' ')
                << printable(result.name) << " to " << printable_path(file) << '\n';
    return kExitOk;
}

// The export mode an optional last operand asks for; nothing when it is not --locked.
std::optional<ExportMode> export_mode(const Context& context, std::span<const std::string> operands,
                                      std::size_t fixed) {
    if (operands.size() == fixed) {
        return ExportMode::plain;
    }
    if (operands[fixed] == kLockedOption) {
        return ExportMode::locked;
    }
    context.err << "zemrakctl: '" << operands[fixed] << "' is not " << kLockedOption << '\n';
    return std::nullopt;
}

// Reports a refused or failed operation on `file`; the library is left as it was unless only
// its save failed.
int failure(const Context& context, const RecordLibrary& records, const LibraryResult& result,
            const std::string& what, const std::filesystem::path& file, std::size_t before) {
    if (records.size() != before) {
        context.err << "zemrakctl: could not save " << printable_path(records.file()) << ": "
                    << result.error.message() << '\n';
    } else {
        context.err << "zemrakctl: cannot " << what << ' ' << printable_path(file) << ": "
                    << result.error.message() << '\n';
    }
    return kExitFailure;
}

// One item file into a folder of the library (named after the file, made unique there), or,
// without a folder, into a new folder named as the item's own.
int import_item_file(const Context& context, const LibraryKind& kind,
                     std::span<const std::string> operands) {
    const std::filesystem::path file = operands[0];
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    const std::size_t before = library->size();
    const std::optional<std::u16string> folder =
        operands.size() > 1 ? std::optional(to_utf16(operands[1])) : std::nullopt;
    const LibraryResult result =
        folder ? library->import_item(file, *folder) : library->import_item(file);
    if (result.error) {
        return failure(context, *library, result, "import", file, before);
    }
    context.out << "imported " << kind.item_word << ' ' << printable(result.name) << " into folder "
                << printable(library->folder_name_at(result.position).value_or(u"")) << " at "
                << result.position << '\n';
    return kExitOk;
}

// A whole-folder file as a new folder named after the file, made unique.
int import_folder_file(const Context& context, const LibraryKind& kind,
                       std::span<const std::string> operands) {
    const std::filesystem::path file = operands[0];
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    const std::size_t before = library->size();
    const LibraryResult result = library->import_folder(file);
    if (result.error) {
        return failure(context, *library, result, "import", file, before);
    }
    context.out << "imported " << library->size() - before << " records into folder "
                << printable(result.name) << '\n';
    return kExitOk;
}

// The item at a listed position to an item file, plain or locked.
int export_item_file(const Context& context, const LibraryKind& kind,
                     std::span<const std::string> operands) {
    const std::optional<ExportMode> mode = export_mode(context, operands, 2);
    if (!mode) {
        return kExitUsage;
    }
    const std::optional<std::size_t> index = parse_index(operands[0]);
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    if (!index || *index >= library->size() ||
        library->is_folder_entry(static_cast<std::int32_t>(*index))) {
        context.err << "zemrakctl: '" << operands[0] << "' is not the position of a "
                    << kind.item_word << " (see 'zemrakctl " << kind.list_command << "')\n";
        return kExitUsage;
    }
    const std::filesystem::path file = operands[1];
    const LibraryResult result =
        library->export_item(static_cast<std::int32_t>(*index), file, *mode);
    if (result.error) {
        context.err << "zemrakctl: could not write " << printable_path(file) << ": "
                    << result.error.message() << '\n';
        return kExitFailure;
    }
    context.out << "exported " << kind.item_word << ' ' << printable(result.name)
                << (*mode == ExportMode::locked ? " locked" : "") << " to " << printable_path(file)
                << '\n';
    return kExitOk;
}

// Every record filed under a folder name (case ignored) to a whole-folder file.
int export_folder_file(const Context& context, const LibraryKind& kind,
                       std::span<const std::string> operands) {
    const std::optional<ExportMode> mode = export_mode(context, operands, 2);
    if (!mode) {
        return kExitUsage;
    }
    AppData data(context.folders);
    const std::unique_lock hold(data.folder_lock());
    RecordLibrary* const library = load(context, data, kind);
    if (!library) {
        return kExitFailure;
    }
    const std::filesystem::path file = operands[1];
    const LibraryResult result = library->export_folder(to_utf16(operands[0]), file, *mode);
    if (result.error == LibraryError::no_such_folder) {
        context.err << "zemrakctl: there is no folder '" << operands[0] << "' in " << kind.file_name
                    << " (see 'zemrakctl " << kind.list_command << "')\n";
        return kExitFailure;
    }
    if (result.error) {
        context.err << "zemrakctl: could not write " << printable_path(file) << ": "
                    << result.error.message() << '\n';
        return kExitFailure;
    }
    context.out << "exported folder " << printable(result.name)
                << (*mode == ExportMode::locked ? " locked" : "") << " to " << printable_path(file)
                << '\n';
    return kExitOk;
}

} // namespace

int import_macro(const Context& context, std::span<const std::string> operands) {
    return import_item_file(context, kMacros, operands);
}

int import_macro_folder(const Context& context, std::span<const std::string> operands) {
    return import_folder_file(context, kMacros, operands);
}

int export_macro(const Context& context, std::span<const std::string> operands) {
    return export_item_file(context, kMacros, operands);
}

int export_macro_folder(const Context& context, std::span<const std::string> operands) {
    return export_folder_file(context, kMacros, operands);
}

int import_recoil(const Context& context, std::span<const std::string> operands) {
    return import_item_file(context, kRecoils, operands);
}

int import_recoil_folder(const Context& context, std::span<const std::string> operands) {
    return import_folder_file(context, kRecoils, operands);
}

int export_recoil(const Context& context, std::span<const std::string> operands) {
    return export_item_file(context, kRecoils, operands);
}

int export_recoil_folder(const Context& context, std::span<const std::string> operands) {
    return export_folder_file(context, kRecoils, operands);
}

int list_macros(const Context& context, std::span<const std::string>) {
    return list<MacroRecord>(context, kMacros, [](const MacroRecord& r) {
        return LibraryRow{r.is_folder_entry(), r.folder_name(), r.item_name(),
                          r.action_count(),    r.loop_count(),  r.locked()};
    });
}

int import_macros(const Context& context, std::span<const std::string> operands) {
    return import_into(context, kMacros, operands[0]);
}

int export_macros(const Context& context, std::span<const std::string> operands) {
    return export_from(context, kMacros, operands);
}

int list_recoils(const Context& context, std::span<const std::string>) {
    return list<RecoilRecord>(context, kRecoils, [](const RecoilRecord& r) {
        return LibraryRow{r.is_folder_entry(), r.folder_name(),      r.item_name(),
                          r.bullet_count(),    r.second_parameter(), r.locked()};
    });
}

int import_recoils(const Context& context, std::span<const std::string> operands) {
    return import_into(context, kRecoils, operands[0]);
}

int export_recoils(const Context& context, std::span<const std::string> operands) {
    return export_from(context, kRecoils, operands);
}

} // namespace zemrak::ctl
