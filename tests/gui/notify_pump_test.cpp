#include "ui/notify_pump.h"

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// A pump that records which of its handlers ran.
class RecordingPump final : public CNotifyPump {
public:
    using CNotifyPump::forget;
    using CNotifyPump::on;

    Handler note(const QString& who) {
        return [this, who](const Notification& n) { calls << who + ":" + n.type; };
    }
    QStringList calls;
};

Notification from(QObject* control, const char* type) {
    Notification n;
    n.type = type;
    n.control = control;
    n.sender = control != nullptr ? control->objectName() : QString();
    return n;
}

TEST(NotifyPump, AControlsOwnHandlerComesBeforeTheHandlerOfItsType) {
    QObject first;
    QObject second;
    RecordingPump pump;
    pump.on(&first, "click", pump.note("first"));
    pump.on("click", pump.note("any"));
    pump.on(&second, "textchanged", pump.note("second"));

    pump.notify(from(&first, "click"));
    pump.notify(from(&second, "click")); // no click handler of its own
    pump.notify(from(&second, "textchanged"));
    pump.notify(from(&first, "textchanged")); // nobody handles it
    pump.notify(from(nullptr, "click"));      // no control at all
    EXPECT_EQ(QStringList({"first:click", "any:click", "second:textchanged", "any:click"}),
              pump.calls);

    pump.calls.clear();
    pump.on(&first, "click", pump.note("again")); // replaces the first registration
    pump.forget(&second);
    pump.notify(from(&first, "click"));
    pump.notify(from(&second, "textchanged"));
    EXPECT_EQ(QStringList({"again:click"}), pump.calls);
}

} // namespace
} // namespace zemrak::ui
