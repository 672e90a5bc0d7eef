#pragma once

#include <QObject>
#include <QString>

namespace zemrak::ui {

// One user action on a named control, as the pages receive it: its type ("click",
// "selectchanged", "itemselect", "valuechanged", "movevaluechanged", "checkclick",
// "textchanged", "setfocus", "killfocus", "mouseenter", "mouseleave", "timer",
// "colorchanged", "colorchangedbuttonup"), the control's name, the values that come with it
// and the virtual-window name of the page the control belongs to (empty for the window's
// own controls).
struct Notification {
    QString type;
    QString sender;
    qint64 wparam = 0; // the new index, value or check state
    qint64 lparam = 0;
    QString text; // the control's text for "textchanged", "killfocus" and "setfocus"
    QString page;
    QObject* control = nullptr;
};

} // namespace zemrak::ui
