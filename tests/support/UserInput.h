#pragma once
// A user's mouse clicks on a control and on a tab: the control must be shown, enabled and not covered by
// another widget where the pointer lands.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <string>

namespace tarv::test {

// Where the user clicks a control: a check box or a radio button on its indicator, anything else in its middle.
inline QPoint clickPointOf(QWidget* widget) {
    QStyleOptionButton option;
    option.initFrom(widget);
    if (qobject_cast<QCheckBox*>(widget))
        return widget->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget).center();
    if (qobject_cast<QRadioButton*>(widget))
        return widget->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, widget).center();
    return widget->rect().center();
}

// The outermost hidden widget that keeps the control from showing, for the failure message.
inline std::string hiddenPartOf(QWidget* widget) {
    std::string hidden = "its window";
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->isHidden()) hidden = w->objectName().toStdString() + " (" + w->metaObject()->className() + ")";
    return hidden;
}

// A left click on the control as the user makes it. Fails when the user could not click it: hidden, disabled,
// or another widget of its window over the point.
inline void clickOn(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    const std::string name = widget->objectName().toStdString();
    ASSERT_TRUE(widget->isVisible()) << name << " is not shown: " << hiddenPartOf(widget) << " is hidden";
    ASSERT_TRUE(widget->isEnabled()) << name << " is disabled";
    const QPoint at = clickPointOf(widget);
    if (!widget->isWindow()) {
        QWidget* top = widget->window();
        QWidget* under = top->childAt(widget->mapTo(top, at));
        ASSERT_TRUE(under == widget || widget->isAncestorOf(under))
            << name << " is covered by " << (under ? under->objectName().toStdString() : "nothing");
    }
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

// A click on the tab of the page, as the user makes it (the window shown first).
inline void clickTab(QTabWidget* tabs, QWidget* page) {
    if (!tabs->window()->isVisible()) tabs->window()->show();
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tabs->indexOf(page)).center());
    EXPECT_EQ(tabs->currentWidget(), page);
}


// Moves a scroll bar to the value with clicks on its arrows, as the user does.
inline void scrollWithArrows(QScrollBar* bar, int value) {
    ASSERT_TRUE(bar->isVisible() && bar->isEnabled()) << bar->objectName().toStdString();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    option.subControls = QStyle::SC_All;
    const auto arrow = [&](QStyle::SubControl part) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
    };
    const QPoint more = arrow(QStyle::SC_ScrollBarAddLine), less = arrow(QStyle::SC_ScrollBarSubLine);
    for (int n = 0; n < 1000 && bar->value() != value; ++n)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->value() < value ? more : less);
    EXPECT_EQ(bar->value(), value);
}

}  // namespace tarv::test
