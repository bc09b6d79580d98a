#include "ReadableText.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTreeView>

#include <vector>

namespace {

void ReadItemView(const QAbstractItemView* view, QStringList& lines) {
    const QAbstractItemModel* model = view->model();
    if (!model)
        return;
    std::vector<int> columns;
    QStringList header;
    const QHeaderView* heading = nullptr;
    if (auto* table = qobject_cast<const QTableView*>(view))
        heading = table->horizontalHeader();
    else if (auto* tree = qobject_cast<const QTreeView*>(view))
        heading = tree->header();
    const auto* list = qobject_cast<const QListView*>(view);
    const int shownColumn = list ? list->modelColumn() : 0;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (heading && heading->isSectionHidden(c))
            continue;
        if (!heading && c != shownColumn) // a list shows one column
            continue;
        columns.push_back(c);
        header << model->headerData(c, Qt::Horizontal).toString();
    }
    if (heading && !heading->isHidden())
        lines << header.join(u'\t');
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c : columns)
            cells << model->index(r, c).data().toString();
        lines << cells.join(u'\t');
    }
}

void Read(QWidget* widget, QWidget* root, QStringList& lines) {
    if (widget != root && (widget->isWindow() || !widget->isVisibleTo(root)))
        return;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const bool rich = label->textFormat() == Qt::RichText ||
                          (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        const QString text =
            (rich ? QTextDocumentFragment::fromHtml(label->text()).toPlainText() : label->text()).trimmed();
        if (!text.isEmpty())
            lines << text.split(u'\n');
        return;
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        if (!qobject_cast<QHeaderView*>(widget))
            ReadItemView(view, lines);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        lines << edit->text();
        return;
    }
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        lines << edit->toPlainText();
        return;
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        lines << edit->toPlainText();
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget); group && !group->title().isEmpty())
        lines << group->title().remove(u'&');
    for (QObject* child : widget->children())
        if (child->isWidgetType())
            Read(static_cast<QWidget*>(child), root, lines);
}

} // namespace

QStringList ReadableText(QWidget* root) {
    QStringList lines;
    Read(root, root, lines);
    return lines;
}
