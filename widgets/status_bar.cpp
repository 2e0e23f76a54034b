#include "widgets/status_bar.h"

#include "widgets/status_window.h"
#include "widgets/widget_images.h"

#include <QGuiApplication>
#include <QIcon>

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

void CStatusBar32x::Create()
{
    if (!parent_)
        return;
    window_ = new StatusWindow(parent_, {kFirstPaneRightEdge, -1});
    window_->show();
}

void CStatusBar32x::SetIcon(int Pane, int IconNum)
{
    if (Pane < 0 || Pane >= static_cast<int>(icons_.size()))
        return;
    const QPixmap icon = ProgramIcon(IconNum);
    if (!icon.isNull())
        icons_[Pane] = icon;
}

void CStatusBar32x::DrawTextPic(int Pane, QString& strText, int /*unused*/)
{
    if (!window_ || window_->PaneRect(Pane).width() <= 0)
        return;
    const QPixmap icon = Pane < static_cast<int>(icons_.size()) ? icons_[Pane] : QPixmap();
    strText = window_->SetIconText(Pane, strText, icon);
}

void CStatusBar32x::SetStatBarText(int PaneNumber, const QString& StringToAdd)
{
    if (window_)
        window_->SetPlainText(PaneNumber, StringToAdd);
}

void CStatusBar32x::UpdateStatBar(int Pane)
{
    if (window_)
        window_->update(window_->PaneRect(Pane));
}

QWidget* CStatusBar32x::GetStatBarHwnd() const { return window_; }

void CStatusBar32x::Resize()
{
    if (!window_ || !parent_)
        return;
    window_->SetFollowParentWidth(false);
    window_->setGeometry(1, parent_->height() - 72, parent_->width() - 10, StatusWindow::kHeight);
    window_->repaint();
}

void CStatusBar32x::DestroyStatBar() { delete window_; }
