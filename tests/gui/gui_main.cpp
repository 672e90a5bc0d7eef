// Entry of the GUI tests: one QApplication on the offscreen platform (unless the caller
// chose a real display), with the shipped English texts loaded as the program loads them.

#include "ui/texts.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Must be decided before the application object exists.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // The windows apply pointer settings: they must not reach the desktop the tests run on.
    unsetenv("XDG_CURRENT_DESKTOP");
    QApplication app(argc, argv);
    zemrak::ui::Texts::load(std::filesystem::path(ZEMRAK_SOURCE_DIR) / "res/Language/lan.xml");

    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
