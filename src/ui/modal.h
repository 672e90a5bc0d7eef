#pragma once

class QDialog;
class QWidget;

namespace zemrak::ui {

// Close codes of the program's dialogs.
inline constexpr int kDialogCancel = 0;
inline constexpr int kDialogOk = 1;
// The extra choice of a message box that offers one (CMsgWnd::add_choice).
inline constexpr int kDialogChoice = 2;

// Runs `dialog` modally and returns the code it was closed with. When an answer is queued
// (by a test or a UI script), the dialog is shown and then closed with that code, so every
// modal path of the program can run without a person.
int run_modal(QDialog& dialog);

// Places a dialog at its current size in the middle of its owner's window, or of the screen
// while the owner is hidden (a warning may come while the program waits in the tray), and
// keeps it whole on the screen.
void centre_over_owner(QWidget& dialog);

// Answers for the next modal dialogs, first in first out. Process-wide, like modality.
class ModalAnswers {
public:
    static void queue(int code);
    static void clear();
    [[nodiscard]] static bool pending();
};

} // namespace zemrak::ui
