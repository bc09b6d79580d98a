#include "TabControlWidget.h"

#include "DialogUnits.h"
#include "QtDialogFont.h"

#include <QEvent>
#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>

TabControlWidget::TabControlWidget(QWidget* parent) : Hooked<QWidget>(parent), bar(new QTabBar(this)) {
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setUsesScrollButtons(true);
    // The tab control's own focus policy governs Tab; the focus itself goes to the row of tabs,
    // which shows it on the current tab and moves with Left and Right.
    bar->setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(bar);
    bar->setGeometry(0, 0, width(), TabHeight());
    auto* next = new QShortcut(this);
    next->setKey(QKeySequence(Qt::CTRL | Qt::Key_Tab));
    next->setContext(Qt::WindowShortcut);
    QObject::connect(next, &QShortcut::activated, this, [this] { Step(1); });
    auto* previous = new QShortcut(this);
    previous->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    previous->setContext(Qt::WindowShortcut);
    QObject::connect(previous, &QShortcut::activated, this, [this] { Step(-1); });
}

void TabControlWidget::Step(int offset) {
    const int count = bar->count();
    if (count > 0 && isEnabled() && isVisible())
        bar->setCurrentIndex(((bar->currentIndex() + offset) % count + count) % count);
}

int TabControlWidget::TabHeight() const {
    return ScalePixels(21, FontPixelScale(MeasureBaseUnits(font())).y);
}

void TabControlWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        bar->setGeometry(0, 0, width(), TabHeight());
}

void TabControlWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar->setGeometry(0, 0, width(), TabHeight());
}

void TabControlWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, TabHeight() - 1, width(), height() - TabHeight() + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = QSize(bar->sizeHint().width(), TabHeight());
    frame.tabBarRect = QRect(0, 0, bar->sizeHint().width(), TabHeight());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
