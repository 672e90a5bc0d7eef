#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace zemrak::ui {

// What a file dialog offers: one named filter ("Profile Data") with its patterns
// ("*.pbin *.PBIN"), the default extension ("pbin") and the folder it opens in.
struct FileDialogSpec {
    QString filter_name;
    QString patterns;
    QString default_suffix;
    QString folder;
};

// The system's open-file dialog: an existing file, or nothing when cancelled.
[[nodiscard]] std::optional<QString> choose_file_to_open(QWidget* owner,
                                                         const FileDialogSpec& spec);
// The system's save-file dialog (asks before overwriting): a path, or nothing.
[[nodiscard]] std::optional<QString> choose_file_to_save(QWidget* owner,
                                                         const FileDialogSpec& spec);

// Answers for the next file dialogs, first in first out, for tests and UI scripts: a path,
// or an empty string for cancel. Process-wide, like the dialogs' modality.
class FileDialogAnswers {
public:
    static void queue(const QString& path_or_empty);
    static void clear();
};

} // namespace zemrak::ui
