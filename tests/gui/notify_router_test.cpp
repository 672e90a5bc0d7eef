#include "ui/notify_router.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace zemrak::ui {
namespace {

// A window with one control of each kind, the last three inside a page container.
class NotifyRouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&m_window);
        m_button = add<QPushButton>(layout, "plain_btn");
        m_option = add<QPushButton>(layout, "first_btn");
        m_option->setCheckable(true);
        m_option->setAutoExclusive(true);
        auto* page = new QWidget(&m_window);
        page->setProperty("virtualwnd", "SomePage");
        layout->addWidget(page);
        auto* page_layout = new QVBoxLayout(page);
        m_check = add<QCheckBox>(page_layout, "some_checkbox");
        m_slider = add<QSlider>(page_layout, "some_slider");
        m_combo = add<QComboBox>(page_layout, "some_combo");
        m_combo->addItems({"a", "b", "c"});
        m_router.attach(&m_window);
        m_router.attach(&m_window); // a second attach connects nothing twice
    }

    template <typename T>
    T* add(QVBoxLayout* layout, const char* name) {
        auto* widget = new T();
        widget->setObjectName(name);
        layout->addWidget(widget);
        return widget;
    }

    QStringList seen() const {
        QStringList out;
        for (const Notification& n : m_seen) {
            out << QString("%1 %2 %3 %4").arg(n.type, n.sender).arg(n.wparam).arg(n.page);
        }
        return out;
    }

    QWidget m_window;
    std::vector<Notification> m_seen;
    NotifyRouter m_router{[this](const Notification& n) {
        if (n.type != "mouseenter" && n.type != "mouseleave") {
            m_seen.push_back(n);
        }
    }};
    QPushButton* m_button = nullptr;
    QPushButton* m_option = nullptr;
    QCheckBox* m_check = nullptr;
    QSlider* m_slider = nullptr;
    QComboBox* m_combo = nullptr;
};

TEST_F(NotifyRouterTest, ControlsReportTheirTypesWithTheirPage) {
    m_button->click();
    m_option->click();
    m_check->click();
    m_slider->setValue(7);
    m_combo->setCurrentIndex(2);
    // An option reports its new state before the click itself.
    EXPECT_EQ(
        (QStringList{"click plain_btn 0 ", "selectchanged first_btn 1 ", "click first_btn 0 ",
                     "checkclick some_checkbox 1 SomePage", "valuechanged some_slider 7 SomePage",
                     "itemselect some_combo 2 SomePage"}),
        seen());
}

TEST_F(NotifyRouterTest, DraggedSliderSendsMoveValuesThenTheValueOnRelease) {
    m_slider->setSliderDown(true);
    m_slider->setValue(3);
    m_slider->setSliderDown(false); // emits sliderReleased
    EXPECT_EQ((QStringList{"movevaluechanged some_slider 3 SomePage",
                           "valuechanged some_slider 3 SomePage"}),
              seen());
}

TEST_F(NotifyRouterTest, TimersNotifyTheirControlUntilKilled) {
    m_router.set_timer(m_check, 5, 10);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_seen.size() >= 2; }, 2000));
    m_router.kill_timer(m_check, 5);
    const std::size_t count = m_seen.size();
    QTest::qWait(50);
    EXPECT_EQ(count, m_seen.size());
    EXPECT_EQ("timer some_checkbox 5 SomePage", seen().constFirst());
}

} // namespace
} // namespace zemrak::ui
