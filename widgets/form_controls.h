// SPDX-License-Identifier: MIT
#pragma once
// Small helpers shared by the windows for building their named controls.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>

namespace cf::widgets {

// The title of the program's message boxes.
inline const QString kMessageTitle = QStringLiteral("Codice fiscale");

// What the windows say of a person's data they cannot take.
inline const QString kMissingData = QStringLiteral("Manca almeno un dato fondamentale");
inline const QString kUnknownPlace = QStringLiteral("Comune non censito o inesistente");
inline const QString kInvalidDate = QStringLiteral("Data inserita non valida!");

// Gives the control its name (the name other windows and tests find it by).
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A text box at its place; a maximum length of 0 means no limit.
QLineEdit* MakeBox(QWidget* parent, const char* name, const QRect& box, int maxLength);

// A caption at its place, at least as large as its text so that none of it
// is cut off; a box of no size is the caption's top left corner. In the
// parent's font unless one is given.
QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, const QRect& box,
                    const QFont* font = nullptr);

// Shows a value in its label, which screen readers then read by caption and
// value ("Provincia: RM"; the caption alone while the label is empty).
void ShowValue(QLabel* label, const QString& caption, const QString& value);

// Fills the widget's background with the colour.
void SetBackground(QWidget* widget, const QColor& colour);

// For a window of fixed background colour: dark text, white boxes and light
// buttons over it, whatever the desktop's colour theme, so that a dark theme
// never writes light text on the window's light colours.
void UseFixedColours(QWidget* window, const QColor& background);

// Shows a focused label that acts as a command (a link, a text to copy) in
// the selection colours, and an unfocused one in its own.
void MarkFocus(QWidget* label, bool focused);

// The colour of the widget's text.
void SetTextColour(QWidget* widget, const QColor& colour);

}  // namespace cf::widgets
