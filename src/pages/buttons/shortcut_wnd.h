#pragma once

#include "ui/input_capture.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

namespace Ui {
class ShortcutWnd;
}

namespace zemrak::pages {

// A key combination as a button record holds it: four modifier flags (Ctrl, Shift, Alt, Win,
// in this order) and the key's usage code.
struct Shortcut {
    std::array<bool, 4> modifiers{};
    std::uint8_t key = 0;

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

// Asks for the key combination a button sends: four modifier boxes and a key field that takes
// the next key pressed while it has the focus (Tab, Escape and Return too: it never types and
// never moves on by itself; a click elsewhere moves the focus out). Made on the caller's stack
// for one question.
class CShortcutWnd final : public QDialog {
    Q_OBJECT
public:
    CShortcutWnd(QWidget* owner, ui::InputCapture& capture, Shortcut initial);
    ~CShortcutWnd() override;
    CShortcutWnd(const CShortcutWnd&) = delete;
    CShortcutWnd& operator=(const CShortcutWnd&) = delete;

    // Centres the dialog over its owner and runs it modally: kDialogOk for OK, kDialogCancel
    // for cancel, the close button, Escape outside the key field, or anything else.
    int show_modal();
    // The combination as the dialog shows it; what the caller stores after kDialogOk.
    [[nodiscard]] Shortcut shortcut() const { return m_shortcut; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start_capture();
    void stop_capture();
    void on_key(std::uint32_t virtual_key);
    void show_key();
    void show_capture_scope();

    std::unique_ptr<Ui::ShortcutWnd> m_ui;
    ui::InputCapture& m_capture;
    Shortcut m_shortcut;
    bool m_capturing = false;
};

} // namespace zemrak::pages
