#include "TabControlWidget.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

TabControlWidget::TabControlWidget(QWidget* parent) : Hooked<QWidget>(parent), bar(new QTabBar(this)) {
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setUsesScrollButtons(true);
    bar->setFocusPolicy(Qt::NoFocus); // the tab control's own focus policy governs Tab
    bar->setGeometry(0, 0, width(), kTabHeight);
}

void TabControlWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar->setGeometry(0, 0, width(), kTabHeight);
}

void TabControlWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, kTabHeight - 1, width(), height() - kTabHeight + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = QSize(bar->sizeHint().width(), kTabHeight);
    frame.tabBarRect = QRect(0, 0, bar->sizeHint().width(), kTabHeight);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
