// Renders the mouse picture of the button page on its own, in the program's theme and at
// twice its size (as on a 2x screen) unless told otherwise, into a PNG file.
//
//   render_mouse_picture OUTPUT.png [HIGHLIGHTED_BUTTON [RATIO]]

#include "pages/buttons/mouse_picture.h"
#include "ui/theme.h"

#include <QApplication>
#include <QPixmap>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: render_mouse_picture OUTPUT.png [HIGHLIGHTED_BUTTON [RATIO]]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    zemrak::ui::apply_theme(application);

    zemrak::pages::MousePicture picture;
    picture.resize(picture.sizeHint());
    picture.ensurePolished();
    if (argc > 2) {
        picture.set_highlighted(QString::fromLocal8Bit(argv[2]).toInt());
    }
    const int ratio = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 2;
    QPixmap pixmap(picture.size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    // The page's background, which the picture leaves showing around the mouse.
    pixmap.fill(QApplication::palette().color(QPalette::Window));
    picture.render(&pixmap);
    if (!pixmap.save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "render_mouse_picture: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
