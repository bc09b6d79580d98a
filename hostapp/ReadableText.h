// What a person reads in a window or a page, as lines of text, for the scripted run's printout.
#pragma once

#include <QStringList>

class QWidget;

// The texts of the widget and of its visible descendants (other windows excluded), in the order the
// widgets were made: a label's plain text; a line or text field's text; a group box's title, then its
// contents; an item view's header (cells separated by tabs) when shown, then one line per row (a list
// shows its one column).
QStringList ReadableText(QWidget* root);
