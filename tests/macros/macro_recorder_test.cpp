#include "macros/macro_recorder.h"
#include "platform/evdev_keys.h"

#include <vector>

#include <gtest/gtest.h>

namespace zemrak {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

constexpr unsigned long kVirtualA = 0x41;
constexpr unsigned long kVirtualB = 0x42;
constexpr std::uint8_t kUsageA = 4;
constexpr std::uint8_t kUsageB = 5;

InputEvent key_down(unsigned long virtual_key) {
    return {kKeyboardMessage, virtual_key, 0};
}
InputEvent key_up(unsigned long virtual_key) {
    return {kKeyboardMessage, virtual_key, 1};
}
InputEvent mouse(unsigned long message, long detail = 0) {
    return {kMouseMessage, message, detail};
}

MacroAction action_of(std::uint8_t code, std::uint8_t kind, std::uint16_t delay) {
    MacroAction action;
    action.set_code(code);
    action.set_kind(kind);
    action.set_delay(delay);
    return action;
}

MacroRecord macro_with(const std::vector<MacroAction>& actions) {
    MacroRecord macro = MacroRecord::make_macro(u"F", u"M");
    for (std::size_t i = 0; i < actions.size(); ++i) {
        macro.set_action(i, actions[i]);
    }
    macro.set_action_count(static_cast<std::uint16_t>(actions.size()));
    return macro;
}

std::vector<MacroAction> actions_of(const MacroRecord& macro) {
    std::vector<MacroAction> actions;
    for (std::size_t i = 0; i < macro.action_count(); ++i) {
        actions.push_back(macro.action(i));
    }
    return actions;
}

// What the page holds for a recording: the macro, its selected action and the delay option.
struct RecordingPage {
    nanoseconds now{};
    MacroRecorder recorder{[this] { return now; }};
    MacroRecord macro = MacroRecord::make_macro(u"F", u"M");
    int selected = -1;
    RecordDelayMode mode = RecordDelayMode::fixed;

    MacroRecorder::Outcome send(const InputEvent& event) {
        const MacroRecorder::Outcome outcome = recorder.handle(event, &macro, selected, mode);
        selected = outcome.selected_action;
        return outcome;
    }
};

TEST(MacroRecorder, EventsGiveTheCodesOfTheKeyTablesAndTheMouseButtons) {
    const std::vector<std::pair<InputEvent, RecordedKey>> known = {
        {key_down(kVirtualA), {kUsageA, MacroAction::Press}},
        {key_up(kVirtualA), {kUsageA, MacroAction::Release}},
        {{kKeyboardMessage, kVirtualA, 0x80000000L}, {kUsageA, MacroAction::Release}},
        {mouse(kLeftDown, 7), {240, MacroAction::Press}},
        {mouse(kLeftUp), {240, MacroAction::Release}},
        {mouse(kRightDown), {241, MacroAction::Press}},
        {mouse(kRightUp), {241, MacroAction::Release}},
        {mouse(kMiddleDown), {242, MacroAction::Press}},
        {mouse(kMiddleUp), {242, MacroAction::Release}},
        {mouse(kSideDown, kBackButton), {243, MacroAction::Press}},
        {mouse(kSideUp, kBackButton), {243, MacroAction::Release}},
        {mouse(kSideDown, kForwardButton), {244, MacroAction::Press}},
        {mouse(kSideUp, kForwardButton), {244, MacroAction::Release}},
    };
    for (const auto& [event, key] : known) {
        EXPECT_EQ(key, recorded_key_of(event)) << event.message << " " << event.wparam;
    }
    EXPECT_FALSE(recorded_key_of(mouse(kWheel)));
    EXPECT_FALSE(recorded_key_of(mouse(kSideDown, 3)));
    EXPECT_FALSE(recorded_key_of(key_down(0xAD))) << "a media key the tables do not know";
    EXPECT_FALSE(recorded_key_of({1282, kLeftDown, 0}));
}

TEST(MacroRecorder, RecordingAnewReplacesTheActionsAndAHeldKeyOrTheWheelAddsNothing) {
    RecordingPage s;
    s.macro = macro_with({action_of(kUsageB, MacroAction::Press, 50),
                          action_of(kUsageB, MacroAction::Release, 60),
                          action_of(kUsageB, MacroAction::Press, 70)});
    ASSERT_TRUE(s.recorder.start(&s.macro, -1, 25));
    EXPECT_EQ(0, s.macro.action_count());
    for (const std::uint8_t byte : s.macro.actions()) {
        ASSERT_EQ(0, byte) << "every old action is cleared";
    }

    // The first action has no earlier one to take a delay; the newest always has 2.
    EXPECT_TRUE(s.send(key_down(kVirtualA)).changed);
    EXPECT_EQ(std::vector{action_of(kUsageA, MacroAction::Press, 2)}, actions_of(s.macro));
    // A held key repeats its key down; the wheel is never recorded.
    EXPECT_FALSE(s.send(key_down(kVirtualA)).changed);
    EXPECT_FALSE(s.send(key_down(kVirtualA)).changed);
    EXPECT_FALSE(s.send(mouse(kWheel)).changed);
    s.send(key_up(kVirtualA));
    s.send(mouse(kLeftDown));
    s.send(mouse(kLeftUp));
    // Fixed delays: 10 after every action but the newest.
    EXPECT_EQ((std::vector{action_of(kUsageA, MacroAction::Press, 10),
                           action_of(kUsageA, MacroAction::Release, 10),
                           action_of(240, MacroAction::Press, 10),
                           action_of(240, MacroAction::Release, 2)}),
              actions_of(s.macro));
    EXPECT_EQ(3, s.selected) << "the newest action is selected";

    s.recorder.stop();
    EXPECT_FALSE(s.recorder.recording());
    EXPECT_EQ(4, s.macro.action_count());
}

TEST(MacroRecorder, MeasuredDelaysAreRoundedToMillisecondsAndFollowTheOptionOfEachEvent) {
    RecordingPage s;
    s.mode = RecordDelayMode::measured;
    ASSERT_TRUE(s.recorder.start(&s.macro, -1, 25));
    s.now += milliseconds(900); // the wait before the first event is no one's delay
    s.send(key_down(kVirtualA));
    s.now += microseconds(1499);
    s.send(key_up(kVirtualA));
    s.now += microseconds(1500);
    s.send(key_down(kVirtualB));
    s.now += microseconds(499);
    s.send(key_up(kVirtualB));
    s.now += std::chrono::seconds(70);
    s.send(key_down(kVirtualA));
    s.now += milliseconds(3);
    s.mode = RecordDelayMode::default_delay;
    s.send(key_up(kVirtualA));
    s.mode = RecordDelayMode::fixed;
    s.send(mouse(kRightDown));
    s.mode = RecordDelayMode::measured;
    s.now += milliseconds(40);
    s.send(mouse(kRightUp));

    std::vector<std::uint16_t> delays;
    for (const MacroAction& action : actions_of(s.macro)) {
        delays.push_back(action.delay());
    }
    EXPECT_EQ((std::vector<std::uint16_t>{1, 2, 0, 65535, 25, 10, 40, 2}), delays);
}

TEST(MacroRecorder, StopsItselfAtThirtyActionsAndStartsOnlyOnAnUnlockedMacroWithRoom) {
    RecordingPage s;
    ASSERT_TRUE(s.recorder.start(&s.macro, -1, 25));
    for (unsigned long key = 0; key < 15; ++key) {
        EXPECT_FALSE(s.send(key_down(kVirtualA + key)).reached_limit);
        const MacroRecorder::Outcome last = s.send(key_up(kVirtualA + key));
        EXPECT_EQ(key == 14, last.reached_limit);
        EXPECT_TRUE(last.changed);
    }
    EXPECT_FALSE(s.recorder.recording());
    EXPECT_EQ(30, s.macro.action_count());
    EXPECT_EQ(2, s.macro.action(29).delay());

    EXPECT_FALSE(s.recorder.start(&s.macro, -1, 25)) << "full";
    EXPECT_FALSE(s.recorder.start(&s.macro, 3, 25)) << "full";
    EXPECT_EQ(30, s.macro.action_count()) << "a refused start clears nothing";
    EXPECT_FALSE(s.recorder.start(nullptr, -1, 25));
    MacroRecord locked = macro_with({action_of(kUsageA, MacroAction::Press, 50)});
    locked.set_locked(true);
    EXPECT_FALSE(s.recorder.start(&locked, -1, 25));
    EXPECT_EQ(1, locked.action_count());
    EXPECT_FALSE(s.recorder.recording());
}

TEST(MacroRecorder, InsertsAfterTheSelectedActionWithTheDelaysInTheirSlots) {
    RecordingPage s;
    s.mode = RecordDelayMode::default_delay;
    s.macro = macro_with({action_of(kUsageB, MacroAction::Press, 50),
                          action_of(kUsageB, MacroAction::Release, 60),
                          action_of(kUsageB, MacroAction::Press, 70)});
    s.selected = 0;
    ASSERT_TRUE(s.recorder.start(&s.macro, s.selected, 33));
    s.send(key_down(kVirtualA));
    EXPECT_EQ(1, s.selected);
    s.send(key_up(kVirtualA));
    EXPECT_EQ(2, s.selected);
    // The first event's delay goes to the action that followed the selection, later ones to
    // the action recorded before them.
    EXPECT_EQ((std::vector{action_of(kUsageB, MacroAction::Press, 50),
                           action_of(kUsageA, MacroAction::Press, 33),
                           action_of(kUsageA, MacroAction::Release, 2),
                           action_of(kUsageB, MacroAction::Release, 33),
                           action_of(kUsageB, MacroAction::Press, 70)}),
              actions_of(s.macro));

    // After the last action: nothing follows to take the first delay, and the slots past the
    // count stay empty.
    s.recorder.stop();
    s.selected = 4;
    ASSERT_TRUE(s.recorder.start(&s.macro, s.selected, 33));
    s.send(mouse(kMiddleDown));
    EXPECT_EQ(6, s.macro.action_count());
    EXPECT_EQ(action_of(kUsageB, MacroAction::Press, 70), s.macro.action(4));
    EXPECT_EQ(action_of(242, MacroAction::Press, 2), s.macro.action(5));
    EXPECT_EQ(MacroAction{}, s.macro.action(6));
    EXPECT_EQ(5, s.selected);
}

TEST(MacroRecorder, OutsideARecordingAKeyChangesOnlyTheCodeOfTheSelectedAction) {
    RecordingPage s;
    MacroAction move;
    move.set_code(246);
    move.set_move_x(-5);
    s.macro = macro_with({action_of(kUsageB, MacroAction::Press, 50),
                          action_of(kUsageB, MacroAction::Release, 60), move});
    const MacroRecord before = s.macro;

    EXPECT_FALSE(s.send(key_down(kVirtualA)).changed) << "no action selected";
    s.selected = 1;
    EXPECT_FALSE(s.send(key_down(kVirtualA)).changed) << "the same event again is a held key";
    EXPECT_EQ(before, s.macro);
    EXPECT_TRUE(s.send(key_up(kVirtualA)).changed);
    EXPECT_EQ(1, s.selected);
    EXPECT_EQ((std::vector{action_of(kUsageB, MacroAction::Press, 50),
                           action_of(kUsageA, MacroAction::Release, 60), move}),
              actions_of(s.macro));
    s.selected = 2;
    EXPECT_FALSE(s.send(key_down(kVirtualB)).changed) << "a mouse move has no key";
    EXPECT_EQ(move, s.macro.action(2));

    // The held-key check spans capturing and recording alike.
    ASSERT_TRUE(s.recorder.start(&s.macro, -1, 25));
    EXPECT_FALSE(s.send(key_down(kVirtualB)).changed);
    EXPECT_TRUE(s.send(key_up(kVirtualB)).changed);
}

} // namespace
} // namespace zemrak
