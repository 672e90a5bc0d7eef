// The shortcut dialog and the capture it takes keys from, with a stand-in for the input
// library and real Qt events for the capture inside the window.

#include "model/key_tables.h"
#include "pages/buttons/shortcut_wnd.h"
#include "platform/evdev_keys.h"
#include "ui/input_capture.h"
#include "ui/modal.h"
#include "ui/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <linux/input-event-codes.h>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

// Stands in for the input library: the test sends events from a thread of its own, as the
// library does, and reads what was installed and enabled.
class FakeSystemSource final : public SystemInputSource {
public:
    explicit FakeSystemSource(bool readable) : m_readable(readable) {}
    [[nodiscard]] bool devices_readable() const override { return m_readable; }
    void install(InputDevice, Sink sink) override {
        const std::lock_guard lock(m_mutex);
        m_sink = std::move(sink);
        ++installs;
    }
    void remove(InputDevice) override {
        const std::lock_guard lock(m_mutex);
        m_sink = nullptr;
        ++removals;
    }
    void enable(InputDevice, bool on) override { enabled = on; }

    // Delivers a key as the library would, from another thread.
    void press(std::uint32_t virtual_key, long up = 0) {
        std::thread([this, virtual_key, up] {
            const std::lock_guard lock(m_mutex);
            if (m_sink) {
                m_sink({kKeyboardMessage, virtual_key, up});
            }
        }).join();
    }
    [[nodiscard]] bool installed() {
        const std::lock_guard lock(m_mutex);
        return m_sink != nullptr;
    }

    int installs = 0;
    int removals = 0;
    bool enabled = false;

private:
    bool m_readable;
    std::mutex m_mutex;
    InputSource::Sink m_sink;
};

// A key as X11 or Wayland deliver it to a window: the native scan code is the evdev code + 8.
void send_key(QWidget* widget, QEvent::Type type, Qt::Key key, std::uint16_t evdev,
              bool repeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, evdev + 8U, 0, 0, QString(), repeat);
    QApplication::sendEvent(widget->window()->windowHandle(), &event);
}

struct Capture {
    FakeSystemSource* fake = nullptr;
    std::unique_ptr<ui::InputCapture> capture;
};

// A capture whose library is the fake (readable or not), or absent.
Capture make_capture(std::optional<bool> library_readable) {
    Capture made;
    if (library_readable) {
        auto fake = std::make_unique<FakeSystemSource>(*library_readable);
        made.fake = fake.get();
        made.capture = std::make_unique<ui::InputCapture>(
            [owned = std::make_shared<std::unique_ptr<FakeSystemSource>>(std::move(fake))] {
                return std::unique_ptr<SystemInputSource>(std::move(*owned));
            });
    } else {
        made.capture = std::make_unique<ui::InputCapture>([] { return nullptr; });
    }
    return made;
}

TEST(InputCapture, LibraryEventsArriveOnTheUiThreadOnlyWhileInstalledAndEnabled) {
    Capture c = make_capture(true);
    ASSERT_EQ(ui::CaptureScope::system_wide, c.capture->scope());
    std::vector<InputEvent> got;
    std::vector<std::thread::id> threads;
    c.capture->install(InputDevice::keyboard, [&](const InputEvent& e) {
        got.push_back(e);
        threads.push_back(std::this_thread::get_id());
    });
    c.fake->press(0x41);
    EXPECT_TRUE(got.empty()) << "not on the library's thread";
    QApplication::processEvents();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ((InputEvent{kKeyboardMessage, 0x41, 0}), got[0]);
    EXPECT_EQ(std::this_thread::get_id(), threads[0]);

    c.capture->enable(InputDevice::keyboard, false);
    EXPECT_FALSE(c.fake->enabled);
    c.fake->press(0x42);
    QApplication::processEvents();
    EXPECT_EQ(1u, got.size()) << "held back while disabled";
    c.capture->enable(InputDevice::keyboard, true);

    // Repeats of a held key are key downs again; an event on its way when the hook goes is
    // dropped.
    c.fake->press(0x43);
    c.fake->press(0x43);
    c.capture->remove(InputDevice::keyboard);
    QApplication::processEvents();
    EXPECT_EQ(1u, got.size());
    EXPECT_FALSE(c.fake->installed());

    // The window delivers nothing while the library does.
    QWidget widget;
    widget.show();
    c.capture->install(InputDevice::keyboard, [&](const InputEvent& e) { got.push_back(e); });
    send_key(&widget, QEvent::KeyPress, Qt::Key_A, KEY_A);
    QApplication::processEvents();
    EXPECT_EQ(1u, got.size());
}

TEST(InputCapture, WithoutTheLibraryTheWindowsGiveTheSameEvents) {
    Capture c = make_capture(std::nullopt);
    EXPECT_EQ(ui::CaptureScope::window_only, c.capture->scope());
    EXPECT_FALSE(c.capture->library_without_devices());
    std::vector<InputEvent> got;
    c.capture->install(InputDevice::keyboard, [&](const InputEvent& e) { got.push_back(e); });
    c.capture->install(InputDevice::mouse, [&](const InputEvent& e) { got.push_back(e); });
    QWidget parent;
    QWidget child(&parent); // the events travel on to the widgets: they still count once
    parent.show();
    child.setFocus();
    send_key(&child, QEvent::KeyPress, Qt::Key_Q, KEY_Q);
    send_key(&child, QEvent::KeyPress, Qt::Key_Q, KEY_Q, true);
    send_key(&child, QEvent::KeyRelease, Qt::Key_Q, KEY_Q, true);
    send_key(&child, QEvent::KeyRelease, Qt::Key_Q, KEY_Q);
    send_key(&child, QEvent::KeyPress, Qt::Key_Enter, KEY_KPENTER);
    QTest::mouseClick(parent.windowHandle(), Qt::BackButton);
    EXPECT_EQ((std::vector<InputEvent>{{kKeyboardMessage, 0x51, 0},
                                       {kKeyboardMessage, 0x51, 0},
                                       {kKeyboardMessage, 0x51, 1},
                                       {kKeyboardMessage, 0x0D, 0},
                                       {kMouseMessage, kSideDown, kBackButton},
                                       {kMouseMessage, kSideUp, kBackButton}}),
              got);

    c.capture->remove(InputDevice::keyboard);
    c.capture->remove(InputDevice::mouse);
    send_key(&child, QEvent::KeyPress, Qt::Key_A, KEY_A);
    EXPECT_EQ(6u, got.size()) << "nothing is looked at once the hooks are gone";
}

// Runs `step` inside the open dialog's loop.
void when_open(std::function<void(CShortcutWnd&)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        auto* dialog = qobject_cast<CShortcutWnd*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        step(*dialog);
    });
}

TEST(ShortcutWnd, TheLastKeyBeforeOkWinsAndTheBoxesNeverChangeByThemselves) {
    Capture c = make_capture(true);
    QWidget owner;
    CShortcutWnd dialog(&owner, *c.capture, Shortcut{{true, false, false, true}, 4});
    EXPECT_EQ(ui::Texts::text("key_A"), dialog.findChild<QLineEdit*>("edit_key")->text());
    when_open([&](CShortcutWnd& open) {
        auto* field = open.findChild<QLineEdit*>("edit_key");
        EXPECT_TRUE(c.fake->installed()) << "the field has the focus: keys are captured";
        c.fake->press(0x51);    // Q down
        c.fake->press(0xA0);    // left Shift down
        c.fake->press(0xA0, 1); // and up
        c.fake->press(0x74);    // F5
        c.fake->press(0xAD);    // a media key the tables do not know
        QApplication::processEvents();
        EXPECT_EQ(ui::Texts::text("key_F5"), field->text());
        // Tab and Escape are keys to choose, not moves; nothing is typed.
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_TRUE(open.isVisible());
        EXPECT_EQ(field, QApplication::focusWidget());
        EXPECT_EQ(ui::Texts::text("key_F5"), field->text());
        EXPECT_EQ(ui::Texts::text("capture_system_text"),
                  open.findChild<QLabel*>("capture_label")->text());
        open.findChild<QPushButton*>("ok_btn")->click();
    });
    ASSERT_EQ(ui::kDialogOk, dialog.show_modal());
    EXPECT_EQ((Shortcut{{true, false, false, true}, 62}), dialog.shortcut()) << "F5 is usage 62";
    EXPECT_FALSE(c.fake->installed()) << "the capture ends with the dialog";

    CShortcutWnd cancelled(&owner, *c.capture, Shortcut{{}, 4});
    when_open([&](CShortcutWnd& open) {
        open.findChild<QCheckBox*>("check_flag_2")->click();
        c.fake->press(0x51);
        QApplication::processEvents();
        open.findChild<QPushButton*>("cancel_btn")->click();
    });
    EXPECT_EQ(ui::kDialogCancel, cancelled.show_modal());
}

TEST(ShortcutWnd, SaysWhereKeysComeFromAndHowToAllowTheWholeDesktop) {
    QWidget owner;
    Capture unreadable = make_capture(false);
    CShortcutWnd dialog(&owner, *unreadable.capture, Shortcut{});
    const QString line = dialog.findChild<QLabel*>("capture_label")->text();
    EXPECT_TRUE(line.startsWith(ui::Texts::text("capture_window_text")));
    EXPECT_TRUE(line.contains("usermod -aG input")) << line.toStdString();

    Capture absent = make_capture(std::nullopt);
    CShortcutWnd plain(&owner, *absent.capture, Shortcut{});
    EXPECT_EQ(ui::Texts::text("capture_window_text"),
              plain.findChild<QLabel*>("capture_label")->text());
}

} // namespace
} // namespace zemrak::pages
