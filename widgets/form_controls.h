#pragma once
// Small helpers shared by the windows for building their named controls.

#include <QColor>
#include <QLineEdit>
#include <QRect>
#include <QString>

namespace forms {

// Gives the control its name (the name other windows and tests find it by).
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A text box at its place; a maximum length of 0 means no limit.
QLineEdit* MakeBox(QWidget* parent, const char* name, const QRect& box, int maxLength);

// Fills the widget's background with the colour.
void SetBackground(QWidget* widget, const QColor& colour);

// The colour of the widget's text.
void SetTextColour(QWidget* widget, const QColor& colour);

}  // namespace forms
