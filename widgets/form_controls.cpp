// SPDX-License-Identifier: MIT
#include "widgets/form_controls.h"

#include <QPalette>

namespace cf::widgets {

QLineEdit* MakeBox(QWidget* parent, const char* name, const QRect& box, int maxLength)
{
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setGeometry(box);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, const QRect& box,
                    const QFont* font)
{
    auto* label = Named(new QLabel(text, parent), name);
    if (font)
        label->setFont(*font);
    label->setGeometry(QRect(box.topLeft(), box.size().expandedTo(label->sizeHint())));
    return label;
}

void ShowValue(QLabel* label, const QString& caption, const QString& value)
{
    label->setText(value);
    label->setAccessibleName(value.isEmpty() ? caption : caption + QStringLiteral(": ") + value);
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void UseFixedColours(QWidget* window, const QColor& background)
{
    const QColor buttonFace(240, 240, 240);
    QPalette colours(Qt::black, buttonFace, Qt::white, QColor(160, 160, 160), QColor(205, 205, 205),
                     Qt::black, Qt::white, Qt::white, background);
    colours.setColor(QPalette::Highlight, QColor(0, 84, 166));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    colours.setColor(QPalette::PlaceholderText, QColor(110, 110, 110));
    const QColor disabledText(120, 120, 120);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, disabledText);
    window->setPalette(colours);
    window->setAutoFillBackground(true);
}

void MarkFocus(QWidget* label, bool focused)
{
    label->setAutoFillBackground(true);
    label->setBackgroundRole(focused ? QPalette::Highlight : QPalette::Window);
    label->setForegroundRole(focused ? QPalette::HighlightedText : QPalette::WindowText);
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace cf::widgets
