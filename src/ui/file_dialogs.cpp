#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <deque>

namespace zemrak::ui {
namespace {

std::deque<QString>& answers() {
    static std::deque<QString> queued;
    return queued;
}

std::optional<QString> queued_answer() {
    if (answers().empty()) {
        return std::nullopt;
    }
    QString answer = answers().front();
    answers().pop_front();
    return answer;
}

std::optional<QString> choose(QWidget* owner, const FileDialogSpec& spec,
                              QFileDialog::AcceptMode mode) {
    QString chosen;
    if (const auto answer = queued_answer()) {
        chosen = *answer;
    } else {
        QFileDialog dialog(owner, QString(), spec.folder,
                           spec.filter_name + " (" + spec.patterns + ")");
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        dialog.setDefaultSuffix(spec.default_suffix);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = dialog.selectedFiles().constFirst();
        }
    }
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

} // namespace

std::optional<QString> choose_file_to_open(QWidget* owner, const FileDialogSpec& spec) {
    return choose(owner, spec, QFileDialog::AcceptOpen);
}

std::optional<QString> choose_file_to_save(QWidget* owner, const FileDialogSpec& spec) {
    return choose(owner, spec, QFileDialog::AcceptSave);
}

void FileDialogAnswers::queue(const QString& path_or_empty) {
    answers().push_back(path_or_empty);
}
void FileDialogAnswers::clear() {
    answers().clear();
}

} // namespace zemrak::ui
