// SPDX-License-Identifier: MIT
#include "widgets/toolbar_accessible.h"

#include "widgets/accessible_children.h"
#include "widgets/toolbar.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

namespace cf::widgets {

namespace {

// The surface's property that names its toolbar.
constexpr char kToolbarProperty[] = "cfToolbar";

Toolbar* ToolbarOf(QObject* surface)
{
    // A guarded pointer: the surface may outlive its toolbar, and Qt asks
    // for its accessible interface again while the surface is destroyed.
    return surface->property(kToolbarProperty).value<QPointer<Toolbar>>();
}

class ToolbarButtonAccessible : public AccessiblePart, public QAccessibleActionInterface {
public:
    ToolbarButtonAccessible(QAccessibleInterface* bar, Toolbar* toolbar, QWidget* surface, int button)
        : AccessiblePart(bar), toolbar_(toolbar), surface_(surface), button_(button)
    {
    }

    bool isValid() const override { return toolbar_ && surface_ && button_ <= toolbar_->ButtonCount(); }
    QAccessible::Role role() const override { return QAccessible::PushButton; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return toolbar_->Caption(button_);
        case QAccessible::Description:
            return toolbar_->ToolTip(button_);
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect box = toolbar_->ButtonRect(button_);
        return QRect(surface_->mapToGlobal(box.topLeft()), box.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.disabled = !toolbar_->IsEnabled(button_);
        state.focusable = !state.disabled;
        state.focused = toolbar_->FocusedButton() == button_;
        state.invisible = !surface_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action != pressAction() || !isValid() || toolbar_->Shortcut(button_).isEmpty())
            return {};
        return {toolbar_->Shortcut(button_).toString(QKeySequence::NativeText)};
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && isValid())
            toolbar_->Press(button_);
    }

private:
    QPointer<Toolbar> toolbar_;
    QPointer<QWidget> surface_;
    int button_;
};

class ToolbarAccessible : public QAccessibleWidget {
public:
    explicit ToolbarAccessible(QWidget* surface)
        : QAccessibleWidget(surface, QAccessible::ToolBar, QStringLiteral("Comandi")),
          toolbar_(ToolbarOf(surface))
    {
    }
    int childCount() const override { return toolbar_ ? toolbar_->ButtonCount() : 0; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return buttonInterfaces_.Get(index, [&] {
            return new ToolbarButtonAccessible(const_cast<ToolbarAccessible*>(this), toolbar_, widget(),
                                               index + 1);
        });
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return buttonInterfaces_.IndexOf(child);
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint point = widget()->mapFromGlobal(QPoint(x, y));
        for (int button = 1; button <= childCount(); ++button)
            if (toolbar_->ButtonRect(button).contains(point))
                return child(button - 1);
        return nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        const int button = toolbar_ ? toolbar_->FocusedButton() : 0;
        return button != 0 ? child(button - 1) : nullptr;
    }

private:
    QPointer<Toolbar> toolbar_;
    mutable AccessibleChildren buttonInterfaces_;
};

QAccessibleInterface* ToolbarFactory(const QString& /*className*/, QObject* object)
{
    if (object != nullptr && object->isWidgetType() && ToolbarOf(object) != nullptr)
        return new ToolbarAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void MakeToolbarAccessible(Toolbar& toolbar, QWidget& surface)
{
    static const bool installed = [] {
        QAccessible::installFactory(ToolbarFactory);
        return true;
    }();
    (void)installed;
    surface.setProperty(kToolbarProperty, QVariant::fromValue(QPointer<Toolbar>(&toolbar)));
    // Showing the surface, or a screen reader's question, may have made it a
    // plain widget's interface already; the next question gets the tool bar.
    if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(&surface);
        known != nullptr && known->role() != QAccessible::ToolBar)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

}  // namespace cf::widgets
