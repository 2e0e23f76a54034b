// SPDX-License-Identifier: MIT
#pragma once
// The accessible interfaces of the parts of a self-drawn widget (toolbar
// buttons, status panes): each made on first request and registered with
// Qt, and all of them deleted with their parent's interface.

#include <QAccessible>

#include <cstddef>
#include <vector>

namespace cf::widgets {

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
