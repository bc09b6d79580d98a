#include "ControlFactory.h"

#include "ListViewWidget.h"
#include "Styles.h"
#include "TabControlWidget.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

Qt::Alignment TextAlignment(unsigned style) {
    switch (style & 0x3) { // ES_LEFT/CENTER/RIGHT and SS_LEFT/CENTER/RIGHT share these bits
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

QWidget* MakeWidget(const ControlTemplate& c, QWidget* parent) {
    const QString text = ToQString(c.text);
    switch (c.kind) {
    case ControlKind::PushButton: {
        auto* button = new Hooked<QPushButton>(text, parent);
        button->setAutoDefault(false);
        button->setDefault(c.style & BS_DEFPUSHBUTTON);
        return button;
    }
    case ControlKind::IconButton: {
        auto* button = new Hooked<QPushButton>(parent);
        button->iconOnly = true;
        button->hiddenText = c.text;
        button->setAutoDefault(false);
        button->setDefault(c.style & BS_DEFPUSHBUTTON);
        button->setIconSize(QSize(16, 16));
        button->setAccessibleName(text);
        return button;
    }
    case ControlKind::ListView:
        return new ListViewWidget(parent);
    case ControlKind::TabControl:
        return new TabControlWidget(parent);
    case ControlKind::ListBox: {
        auto* list = new Hooked<QListWidget>(parent);
        list->setSelectionMode(c.style & LBS_EXTENDEDSEL   ? QAbstractItemView::ExtendedSelection
                               : c.style & LBS_MULTIPLESEL ? QAbstractItemView::MultiSelection
                                                           : QAbstractItemView::SingleSelection);
        list->setSortingEnabled(c.style & LBS_SORT);
        list->setVerticalScrollBarPolicy(c.style & WS_VSCROLL ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(c.style & WS_HSCROLL ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
        list->setFrameShape(c.style & WS_BORDER ? QFrame::StyledPanel : QFrame::NoFrame);
        // Uniform items all take the first one's width, which would end the sideways scroll there.
        list->setUniformItemSizes(!(c.style & WS_HSCROLL));
        return list;
    }
    case ControlKind::DropDownCombo: {
        auto* combo = new Hooked<QComboBox>(parent);
        combo->setEditable((c.style & 0x3) == CBS_DROPDOWN);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ControlKind::Edit: {
        auto* edit = new Hooked<QLineEdit>(text, parent);
        edit->setAlignment(TextAlignment(c.style) | Qt::AlignVCenter);
        edit->setReadOnly(c.style & ES_READONLY);
        edit->setFrame(c.style & WS_BORDER);
        return edit;
    }
    case ControlKind::StaticText: {
        auto* label = new Hooked<QLabel>(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(TextAlignment(c.style) | Qt::AlignTop);
        label->setWordWrap((c.style & SS_LEFTNOWORDWRAP) != SS_LEFTNOWORDWRAP);
        return label;
    }
    case ControlKind::StaticIcon: {
        auto* label = new Hooked<QLabel>(parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    }
    return new Hooked<QWidget>(parent);
}

} // namespace

QWidget* CreateControlWidget(const ControlTemplate& c, QWidget* parent) {
    QWidget* widget = MakeWidget(c, parent);
    WidgetHook* hook = WidgetHook::Of(widget);
    hook->id = c.id;
    hook->windowStyle = c.style;
    if (auto* list = dynamic_cast<ListViewWidget*>(widget))
        list->ApplyStyles();
    const bool focusable = c.kind != ControlKind::StaticText && c.kind != ControlKind::StaticIcon;
    widget->setFocusPolicy(!focusable             ? Qt::NoFocus
                           : c.style & WS_TABSTOP ? Qt::StrongFocus
                                                  : Qt::ClickFocus);
    widget->setEnabled(!(c.style & WS_DISABLED));
    return widget;
}
