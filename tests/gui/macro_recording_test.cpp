// The recorder on a page of its named controls: events from a stand-in for the input library
// or from real Qt events in the window, the macro kept by a stand-in for the macro page.

#include "macros/macro_recording.h"
#include "macros/macro_recording_target.h"
#include "platform/evdev_keys.h"
#include "ui/row_controls.h"
#include "ui/texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <array>
#include <linux/input-event-codes.h>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace zemrak::pages {
namespace {

constexpr unsigned long kVirtualA = 0x41;
constexpr std::uint8_t kUsageA = 4;
constexpr std::uint8_t kUsageB = 5;
constexpr std::uint8_t kUsageSpace = 44;

// Stands in for the input library: events come from a thread of its own, as the library's do.
class FakeSystemSource final : public SystemInputSource {
public:
    explicit FakeSystemSource(bool readable) : m_readable(readable) {}
    [[nodiscard]] bool devices_readable() const override { return m_readable; }
    void install(InputDevice device, Sink sink) override {
        const std::lock_guard lock(m_mutex);
        m_sinks.at(index(device)) = std::move(sink);
    }
    void remove(InputDevice device) override {
        const std::lock_guard lock(m_mutex);
        m_sinks.at(index(device)) = nullptr;
    }
    void enable(InputDevice, bool) override {}

    // Sends one event and lets it reach the UI thread.
    void send(InputEvent event) {
        std::thread([this, event] {
            const std::lock_guard lock(m_mutex);
            const Sink& sink = m_sinks.at(event.message == kKeyboardMessage ? 0 : 1);
            if (sink) {
                sink(event);
            }
        }).join();
        QApplication::processEvents();
    }
    [[nodiscard]] bool installed(InputDevice device) {
        const std::lock_guard lock(m_mutex);
        return m_sinks.at(index(device)) != nullptr;
    }

private:
    static std::size_t index(InputDevice device) { return device == InputDevice::keyboard ? 0 : 1; }

    bool m_readable;
    std::mutex m_mutex;
    std::array<Sink, 2> m_sinks;
};

std::unique_ptr<ui::InputCapture> capture_over(FakeSystemSource*& fake, bool readable) {
    auto owned = std::make_unique<FakeSystemSource>(readable);
    fake = owned.get();
    return std::make_unique<ui::InputCapture>(
        [holder = std::make_shared<std::unique_ptr<FakeSystemSource>>(std::move(owned))] {
            return std::unique_ptr<SystemInputSource>(std::move(*holder));
        });
}

MacroAction action_of(std::uint8_t code, std::uint8_t kind, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(kind);
    action.set_delay(delay);
    return action;
}

// What the macro page does for the recorder, kept where the test can read it.
class FakePage final : public MacroRecordingTarget {
public:
    MacroRecord* editing_macro() override { return shown ? &macro : nullptr; }
    int selected_action() const override { return selected; }
    void set_selected_action(int row) override { selected = row; }
    void show_actions(int row) override { listed.push_back(row); }
    void show_action_details() override { ++details; }
    void commit() override {
        ++commits;
        stored = macro;
    }
    RecordDelayMode delay_mode() const override { return mode; }
    std::uint16_t default_delay() const override { return 10; }

    void set_actions(const std::vector<MacroAction>& actions) {
        for (std::size_t i = 0; i < actions.size(); ++i) {
            macro.set_action(i, actions[i]);
        }
        macro.set_action_count(static_cast<std::uint16_t>(actions.size()));
    }
    [[nodiscard]] std::vector<MacroAction> actions(const MacroRecord& of) const {
        std::vector<MacroAction> found;
        for (std::size_t i = 0; i < of.action_count(); ++i) {
            found.push_back(of.action(i));
        }
        return found;
    }

    MacroRecord macro = MacroRecord::make_macro(u"F", u"M");
    MacroRecord stored;
    bool shown = true;
    int selected = -1;
    int commits = 0;
    int details = 0;
    std::vector<int> listed;
    RecordDelayMode mode = RecordDelayMode::fixed;
};

// The controls of the page the recorder works with, and a field to move the focus to.
struct PageControls {
    PageControls() {
        auto* layout = new QVBoxLayout(&container);
        record = ui::named_child<QPushButton>(&container, "btn_record");
        scope = ui::named_child<QLabel>(&container, "record_scope_label");
        key = ui::named_child<QLineEdit>(&container, "edit_macro_action");
        other = ui::named_child<QLineEdit>(&container, "edit_macro_delay");
        for (QWidget* widget : std::initializer_list<QWidget*>{record, scope, key, other}) {
            layout->addWidget(widget);
        }
        container.show();
        container.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&container));
    }
    void pointer(QEvent::Type type) {
        QEvent event(type);
        QApplication::sendEvent(record, &event);
    }

    QWidget container;
    QPushButton* record = nullptr;
    QLabel* scope = nullptr;
    QLineEdit* key = nullptr;
    QLineEdit* other = nullptr;
};

InputEvent key_event(unsigned long virtual_key, long detail) {
    return {kKeyboardMessage, virtual_key, detail};
}

TEST(MacroRecording, RecordsTheDesktopUntilStoppedWithoutTheClickThatStops) {
    FakeSystemSource* fake = nullptr;
    const auto capture = capture_over(fake, true);
    FakePage page;
    page.set_actions({action_of(kUsageB, MacroAction::Press, 50)});
    PageControls controls;
    MacroRecording recording(&controls.container, page, *capture);
    EXPECT_TRUE(controls.scope->isHidden());
    EXPECT_EQ(ui::Texts::text("start_recording_text"), controls.record->text());

    controls.record->click();
    ASSERT_TRUE(recording.recording());
    EXPECT_TRUE(controls.record->isChecked());
    EXPECT_EQ(ui::Texts::text("stop_recording_text"), controls.record->text());
    EXPECT_TRUE(controls.record->property("recording").toBool());
    EXPECT_TRUE(controls.scope->isVisible());
    EXPECT_TRUE(controls.scope->property("recording").toBool());
    EXPECT_EQ(ui::Texts::text("recording_system_text"), controls.scope->text());
    EXPECT_EQ(0, page.macro.action_count()) << "nothing selected: recorded anew";
    EXPECT_TRUE(fake->installed(InputDevice::keyboard));
    EXPECT_TRUE(fake->installed(InputDevice::mouse));

    fake->send({kMouseMessage, kRightDown, 0});
    fake->send(key_event(kVirtualA, 0));
    fake->send(key_event(kVirtualA, 0)); // held
    fake->send({kMouseMessage, kWheel, 0});
    fake->send(key_event(kVirtualA, 1));
    // Space on the focused record button is a key like any other, not a stop.
    controls.record->setFocus();
    QTest::keyClick(controls.record, Qt::Key_Space);
    EXPECT_TRUE(recording.recording());
    // The pointer goes onto the button to stop: its clicks are not recorded.
    controls.pointer(QEvent::Enter);
    fake->send({kMouseMessage, kLeftDown, 0});
    fake->send({kMouseMessage, kLeftUp, 0});
    EXPECT_EQ(3, page.macro.action_count());
    EXPECT_EQ(2, page.selected);
    EXPECT_EQ(2, page.listed.back());
    EXPECT_EQ(0, page.commits) << "stored when the recording ends";

    controls.record->click();
    EXPECT_FALSE(recording.recording());
    EXPECT_FALSE(controls.record->isChecked());
    EXPECT_EQ(ui::Texts::text("start_recording_text"), controls.record->text());
    EXPECT_FALSE(controls.record->property("recording").toBool());
    EXPECT_TRUE(controls.scope->isHidden());
    EXPECT_FALSE(fake->installed(InputDevice::keyboard));
    EXPECT_FALSE(fake->installed(InputDevice::mouse));
    ASSERT_EQ(1, page.commits);
    EXPECT_EQ((std::vector{action_of(241, MacroAction::Press, 10),
                           action_of(kUsageA, MacroAction::Press, 10),
                           action_of(kUsageA, MacroAction::Release, 2)}),
              page.actions(page.stored));

    // Leaving the button with the pointer after the stop turns nothing back on.
    controls.pointer(QEvent::Leave);
    fake->send({kMouseMessage, kMiddleDown, 0});
    EXPECT_EQ(3, page.macro.action_count());
}

TEST(MacroRecording, StopsAndStoresAtThirtyAndStartsOnlyWithRoom) {
    FakeSystemSource* fake = nullptr;
    const auto capture = capture_over(fake, true);
    FakePage page;
    page.set_actions(std::vector<MacroAction>(28, action_of(kUsageB, MacroAction::Press, 50)));
    page.selected = 27;
    PageControls controls;
    MacroRecording recording(&controls.container, page, *capture);

    controls.record->click();
    ASSERT_TRUE(recording.recording());
    fake->send(key_event(kVirtualA, 0));
    EXPECT_TRUE(recording.recording());
    fake->send(key_event(kVirtualA, 1));
    EXPECT_FALSE(recording.recording()) << "stopped itself at 30";
    EXPECT_FALSE(controls.record->isChecked());
    EXPECT_FALSE(fake->installed(InputDevice::keyboard));
    EXPECT_TRUE(controls.scope->isHidden());
    ASSERT_EQ(1, page.commits);
    EXPECT_EQ(30, page.stored.action_count());
    EXPECT_EQ(action_of(kUsageA, MacroAction::Release, 2), page.stored.action(29));

    // A full macro, or none at all, refuses to record and the button springs back.
    controls.record->click();
    EXPECT_FALSE(recording.recording());
    EXPECT_FALSE(controls.record->isChecked());
    page.shown = false;
    controls.record->click();
    EXPECT_FALSE(recording.recording());
    EXPECT_FALSE(controls.record->isChecked());
    EXPECT_FALSE(fake->installed(InputDevice::keyboard));
    EXPECT_EQ(1, page.commits);
}

// A key as X11 or Wayland deliver it to a window: the native scan code is the evdev code + 8.
void send_key(QWidget* widget, QEvent::Type type, Qt::Key key, std::uint16_t evdev) {
    QKeyEvent event(type, key, Qt::NoModifier, evdev + 8U, 0, 0);
    QApplication::sendEvent(widget->window()->windowHandle(), &event);
}

TEST(MacroRecording, InTheWindowTheKeyFieldTakesKeysAndTheRecordingSaysHowToReachFurther) {
    FakeSystemSource* fake = nullptr;
    const auto capture = capture_over(fake, false);
    FakePage page;
    const MacroAction move = [] {
        MacroAction made;
        made.set_code(246);
        made.set_delay(20);
        return made;
    }();
    page.set_actions({action_of(kUsageA, MacroAction::Press, 50),
                      action_of(kUsageA, MacroAction::Release, 60), move});
    page.selected = 1;
    PageControls controls;
    MacroRecording recording(&controls.container, page, *capture);

    controls.key->setFocus();
    ASSERT_TRUE(controls.key->hasFocus());
    send_key(controls.key, QEvent::KeyPress, Qt::Key_B, KEY_B);
    EXPECT_EQ((std::vector{action_of(kUsageA, MacroAction::Press, 50),
                           action_of(kUsageB, MacroAction::Release, 60), move}),
              page.actions(page.macro));
    EXPECT_EQ(1, page.commits);
    EXPECT_EQ(1, page.details);
    EXPECT_EQ(page.macro, page.stored);
    QTest::keyClick(controls.key, Qt::Key_C);
    EXPECT_TRUE(controls.key->text().isEmpty()) << "a captured key is never typed";

    controls.other->setFocus();
    send_key(controls.other, QEvent::KeyPress, Qt::Key_Space, KEY_SPACE);
    EXPECT_EQ(kUsageB, page.macro.action(1).code()) << "no capture once the field lost focus";

    // Recording after the selection from the window's own keys.
    controls.record->click();
    ASSERT_TRUE(recording.recording());
    EXPECT_EQ(ui::Texts::text("recording_window_text"), controls.scope->text());
    const QString story = controls.scope->toolTip();
    EXPECT_TRUE(story.contains("usermod -aG input")) << story.toStdString();
    controls.record->setFocus();
    send_key(controls.record, QEvent::KeyPress, Qt::Key_Space, KEY_SPACE);
    send_key(controls.record, QEvent::KeyRelease, Qt::Key_Space, KEY_SPACE);
    EXPECT_TRUE(recording.recording()) << "the key went to the recording, not to the button";
    controls.record->click();
    ASSERT_EQ(2, page.commits);
    // The first delay goes to the action after the selection.
    MacroAction waited = move;
    waited.set_delay(10);
    EXPECT_EQ((std::vector{action_of(kUsageA, MacroAction::Press, 50),
                           action_of(kUsageB, MacroAction::Release, 60),
                           action_of(kUsageSpace, MacroAction::Press, 10),
                           action_of(kUsageSpace, MacroAction::Release, 2), waited}),
              page.actions(page.stored));
}

} // namespace
} // namespace zemrak::pages
