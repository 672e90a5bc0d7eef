#include "ui/modal.h"

#include <QDialog>
#include <QTimer>
#include <deque>

namespace zemrak::ui {
namespace {

std::deque<int>& answers() {
    static std::deque<int> queued;
    return queued;
}

} // namespace

int run_modal(QDialog& dialog) {
    if (!answers().empty()) {
        const int code = answers().front();
        answers().pop_front();
        // Closed from the dialog's own event loop, once it is really running.
        QTimer::singleShot(0, &dialog, [&dialog, code] { dialog.done(code); });
    }
    return dialog.exec();
}

void ModalAnswers::queue(int code) {
    answers().push_back(code);
}
void ModalAnswers::clear() {
    answers().clear();
}
bool ModalAnswers::pending() {
    return !answers().empty();
}

} // namespace zemrak::ui
