// SPDX-License-Identifier: MIT
#include "widgets/status_panes_accessible.h"

#include "widgets/accessible_children.h"
#include "widgets/status_panes.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace cf::widgets {

namespace {

class PaneAccessible : public AccessiblePart {
public:
    PaneAccessible(QAccessibleInterface* bar, StatusPanes* panes, int pane)
        : AccessiblePart(bar), panes_(panes), pane_(pane)
    {
    }

    bool isValid() const override { return panes_ && pane_ < panes_->PaneCount(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? panes_->PaneText(pane_).trimmed() : QString();
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect box = panes_->PaneRect(pane_);
        return QRect(panes_->mapToGlobal(box.topLeft()), box.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !isValid() || !panes_->isVisible();
        return state;
    }

private:
    QPointer<StatusPanes> panes_;
    int pane_;
};

class StatusPanesAccessible : public QAccessibleWidget {
public:
    explicit StatusPanesAccessible(StatusPanes* panes)
        : QAccessibleWidget(panes, QAccessible::StatusBar), panes_(panes)
    {
    }
    int childCount() const override { return panes_ ? panes_->PaneCount() : 0; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return paneInterfaces_.Get(index, [&] {
            return new PaneAccessible(const_cast<StatusPanesAccessible*>(this), panes_, index);
        });
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return paneInterfaces_.IndexOf(child);
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint point = widget()->mapFromGlobal(QPoint(x, y));
        for (int pane = 0; pane < childCount(); ++pane)
            if (panes_->PaneRect(pane).contains(point))
                return child(pane);
        return nullptr;
    }

private:
    QPointer<StatusPanes> panes_;
    mutable AccessibleChildren paneInterfaces_;
};

QAccessibleInterface* StatusPanesFactory(const QString& /*className*/, QObject* object)
{
    if (auto* panes = qobject_cast<StatusPanes*>(object))
        return new StatusPanesAccessible(panes);
    return nullptr;
}

}  // namespace

void InstallStatusPanesAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(StatusPanesFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace cf::widgets
