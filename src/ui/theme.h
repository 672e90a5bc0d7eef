#pragma once

class QApplication;

namespace zemrak::ui {

// Gives the whole program its dark look: the Fusion style with a dark palette (which dialogs
// of Qt's own and custom-painted widgets follow) and the program's style sheet on top.
void apply_theme(QApplication& app);

} // namespace zemrak::ui
