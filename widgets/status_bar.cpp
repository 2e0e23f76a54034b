// SPDX-License-Identifier: MIT
#include "widgets/status_bar.h"

#include "widgets/layout_scale.h"
#include "widgets/status_panes.h"
#include "widgets/widget_images.h"

#include <QGuiApplication>
#include <QIcon>

namespace cf::widgets {

namespace {

constexpr int kIconSize = 16;
constexpr int kFirstPaneRightEdge = 200;

QPixmap ProgramIcon(int number)
{
    switch (number) {
    case 0:
        return QGuiApplication::windowIcon().pixmap(kIconSize, kIconSize);
    case 1:
        return QPixmap(widget_images::kTitlePaneIcon);
    case 2:
        return QPixmap(widget_images::kDatePaneIcon);
    default:
        return {};
    }
}

}  // namespace

void StatusBar::Create()
{
    if (!container_)
        return;
    panes_ = new StatusPanes(container_, {Scaled(kFirstPaneRightEdge), -1});
    panes_->show();
}

void StatusBar::SetIcon(int pane, int icon)
{
    if (pane < 0 || pane >= static_cast<int>(icons_.size()))
        return;
    const QPixmap picture = ProgramIcon(icon);
    if (!picture.isNull())
        icons_[pane] = picture;
}

QString StatusBar::DrawTextPic(int pane, const QString& text)
{
    if (!panes_ || panes_->PaneRect(pane).width() <= 0)
        return text;
    const QPixmap icon = pane < static_cast<int>(icons_.size()) ? icons_[pane] : QPixmap();
    return panes_->SetText(pane, text, icon);
}

}  // namespace cf::widgets
