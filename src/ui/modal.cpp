#include "ui/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
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

void centre_over_owner(QWidget& dialog) {
    const QWidget* owner =
        dialog.parentWidget() != nullptr ? dialog.parentWidget()->window() : nullptr;
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect area = owner != nullptr && owner->isVisible() ? owner->frameGeometry() : available;
    QRect box(QPoint(0, 0), dialog.size());
    box.moveCenter(area.center());
    if (available.isValid()) {
        // An owner dragged half off the screen must not take the buttons with it.
        box.moveLeft(std::clamp(box.left(), available.left(),
                                std::max(available.left(), available.right() - box.width() + 1)));
        box.moveTop(std::clamp(box.top(), available.top(),
                               std::max(available.top(), available.bottom() - box.height() + 1)));
    }
    dialog.move(box.topLeft());
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
