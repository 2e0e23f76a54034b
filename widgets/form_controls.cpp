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

void SetBackground(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace cf::widgets
