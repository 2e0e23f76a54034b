// SPDX-License-Identifier: MIT
#include "widgets/status_panes_accessible.h"

#include "widgets/status_panes.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace cf::widgets {

namespace {

class PaneAccessible : public QAccessibleInterface {
public:
    PaneAccessible(QAccessibleInterface* bar, StatusPanes* panes, int pane)
        : bar_(bar), panes_(panes), pane_(pane)
    {
    }

    bool isValid() const override { return panes_ && pane_ < panes_->PaneCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_->window(); }
    QAccessibleInterface* parent() const override { return bar_; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

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
    QAccessibleInterface* bar_;
    QPointer<StatusPanes> panes_;
    int pane_;
};

class StatusPanesAccessible : public QAccessibleWidget {
public:
    explicit StatusPanesAccessible(StatusPanes* panes)
        : QAccessibleWidget(panes, QAccessible::StatusBar), panes_(panes)
    {
    }
    ~StatusPanesAccessible() override
    {
        for (const QAccessible::Id id : paneIds_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return panes_ ? panes_->PaneCount() : 0; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (static_cast<int>(paneIds_.size()) <= index)
            paneIds_.resize(static_cast<std::size_t>(index) + 1, 0);
        QAccessible::Id& id = paneIds_[static_cast<std::size_t>(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(
                new PaneAccessible(const_cast<StatusPanesAccessible*>(this), panes_, index));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t index = 0; index < paneIds_.size(); ++index)
            if (paneIds_[index] != 0 && QAccessible::accessibleInterface(paneIds_[index]) == child)
                return static_cast<int>(index);
        return -1;
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
    mutable std::vector<QAccessible::Id> paneIds_;
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
