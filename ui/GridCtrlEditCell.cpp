#include "GridCtrlEditCell.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool IsEditorKey(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return key->modifiers() & Qt::ControlModifier;
    }
}

} // namespace

CGridCtrlEditCell::CGridCtrlEditCell(int row, int column, std::u16string initialText)
    : row(row), column(column), initialText(std::move(initialText)) {}

QWidget* CGridCtrlEditCell::Grid() const {
    // The editor lives in the grid's viewport.
    QWidget* viewport = GetSafeHwnd() ? GetSafeHwnd()->parentWidget() : nullptr;
    return viewport ? viewport->parentWidget() : nullptr;
}

void CGridCtrlEditCell::OnAttach() {
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
        return;
    if (QWidget* grid = Grid())
        edit->setFont(grid->font());
    edit->setText(QString::fromStdU16String(initialText));
    edit->selectAll(); // leaves the caret at the end, in view
    edit->setFocus(Qt::OtherFocusReason);
    WatchEvents(edit);
}

bool CGridCtrlEditCell::OnWidgetEvent(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (IsEditorKey(static_cast<QKeyEvent*>(event))) {
            event->accept(); // no shortcut or default button takes these keys from the editor
            return true;
        }
        return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            cancelled = 1;
        else if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (QWidget* grid = Grid())
            grid->setFocus(Qt::OtherFocusReason);
        EndEdit(); // also when the grid could not take the focus
        return true;
    }
    case QEvent::FocusOut:
        // A context menu of the editor's own leaves the edit open.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            EndEdit();
        return false;
    default:
        return false;
    }
}

void CGridCtrlEditCell::EndEdit() {
    if (ended)
        return;
    ended = true;
    const auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    QWidget* grid = Grid();
    const std::u16string text = edit ? edit->text().toStdU16String() : initialText;
    if (CWnd* gridObject = FromHandle(grid)) {
        NMLVDISPINFO info{
            {grid, GetDlgCtrlID(), LVN_ENDLABELEDIT},
            {LVIF_TEXT, row, column, cancelled ? nullptr : text.c_str(), static_cast<int>(text.size())}};
        gridObject->SendNotify(info.hdr);
    }
    DestroyWindow();
}

void CGridCtrlEditCell::PostNcDestroy() {
    delete this;
}
