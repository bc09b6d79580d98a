// What both screenshot programs need: letting windows settle and saving a window's picture.
#pragma once

#include <QString>

class QWidget;

// Lets the windows lay out and paint.
void Settle();
// Saves the window's picture to the PNG file after it settled; prints what it wrote. True when saved.
bool Save(QWidget* window, const QString& path);
