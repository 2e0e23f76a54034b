// SPDX-License-Identifier: MIT
#pragma once
// The accessible interfaces of the parts of a self-drawn widget (toolbar
// buttons, status panes): each made on first request and registered with
// Qt, and all of them deleted with their parent's interface; and what every
// such part is: a leaf with no object of its own, in its parent's window.

#include <QAccessible>

#include <cstddef>
#include <vector>

namespace cf::widgets {

class AccessiblePart : public QAccessibleInterface {
public:
    explicit AccessiblePart(QAccessibleInterface* parent) : parent_(parent) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

private:
    QAccessibleInterface* parent_;
};

class AccessibleChildren {
public:
    AccessibleChildren() = default;
    AccessibleChildren(const AccessibleChildren&) = delete;
    AccessibleChildren& operator=(const AccessibleChildren&) = delete;
    ~AccessibleChildren()
    {
        for (const QAccessible::Id id : ids_)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    // The interface of part `index`, made by `make()` the first time.
    template <typename Make>
    QAccessibleInterface* Get(int index, Make make)
    {
        const auto slot = static_cast<std::size_t>(index);
        if (ids_.size() <= slot)
            ids_.resize(slot + 1, 0);
        if (ids_[slot] == 0)
            ids_[slot] = QAccessible::registerAccessibleInterface(make());
        return QAccessible::accessibleInterface(ids_[slot]);
    }

    // The index of a part's interface, or -1.
    int IndexOf(const QAccessibleInterface* child) const
    {
        for (std::size_t index = 0; index < ids_.size(); ++index)
            if (ids_[index] != 0 && QAccessible::accessibleInterface(ids_[index]) == child)
                return static_cast<int>(index);
        return -1;
    }

private:
    std::vector<QAccessible::Id> ids_;
};

}  // namespace cf::widgets
