// SPDX-License-Identifier: MIT
#include "windows/verification/place_drop_down.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

#include "engine/places/place_catalog.h"
#include "engine/places/place_labels.h"
#include "engine/places/place_search.h"
#include "widgets/data_box_keys.h"
#include "widgets/twips.h"

namespace cf::verification {
namespace {

const PlaceCatalog& Places()
{
    return PlaceCatalog::Embedded();
}

// As wide as the longest rows ("SAN LEONARDO IN PASSIRIA (fino al 1923)"),
// growing to the left of the box; as tall as the generation window's. Both
// grow with the desktop's font, so they are measured when the list opens.
constexpr int kWidthPixels = 300;
constexpr int kHeightTwips = 1620;
constexpr int kWindowMargin = 4;

}  // namespace

// The rows of the place table, each as the place list writes it
// (PlaceListLabel), made only when drawn.
class PlaceDropDown::Rows : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(Places().Rows().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return QString::fromStdString(PlaceListLabel(Places(), index.row()));
    }
};

PlaceDropDown::PlaceDropDown(QLineEdit* placeBox, QWidget* window)
    : QListView(window), placeBox_(placeBox), rows_(new Rows(this))
{
    setModel(rows_);
    // Every row is as tall as the first: the view never measures them all.
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setAccessibleName(QStringLiteral("Elenco dei luoghi"));
    hide();
    connect(this, &QListView::clicked, this, [this] { pickCurrent(); });
}

// Below the box, over the window.
void PlaceDropDown::openAtTypedName()
{
    QWidget* window = parentWidget();
    const QRect box(placeBox_->mapTo(window, QPoint(0, 0)), placeBox_->size());
    const int width = std::min(widgets::Scaled(kWidthPixels), window->width() - 2 * kWindowMargin);
    const int left = std::max(kWindowMargin, box.right() + 1 - width);
    setGeometry(left, box.bottom() + 1, width, twips::ToPixels(kHeightTwips));
    show();
    raise();
    setFocus(Qt::PopupFocusReason);
    followTypedName();
}

void PlaceDropDown::followTypedName()
{
    const std::vector<int> found = FindPlacesContaining(Places(), placeBox_->text().toStdString(), 1);
    if (found.empty()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(rows_->index(found.front()));
    scrollTo(currentIndex(), PositionAtTop);
}

void PlaceDropDown::pickCurrent()
{
    if (!currentIndex().isValid())
        return;
    // The box takes the focus before the list goes.
    emit picked(currentIndex().row());
    hide();
}

void PlaceDropDown::closeToTheBox()
{
    placeBox_->setFocus(Qt::PopupFocusReason);
    placeBox_->end(false);
    hide();
}

// Enter picks the row shown, or closes the list when it shows none; Esc,
// Alt+Up and F4 close it; what is typed goes on into the box, which the
// list follows.
void PlaceDropDown::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || widgets::IsDropDownKey(*event)) {
        closeToTheBox();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentIndex().isValid())
            pickCurrent();
        else
            closeToTheBox();
        return;
    }
    const std::optional<QChar> typed = widgets::TypedCharacter(*event);
    const bool typing =
        event->key() == Qt::Key_Backspace
        || (typed && typed->isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (!typing) {
        QListView::keyPressEvent(event);
        return;
    }
    QCoreApplication::sendEvent(placeBox_, event);
    followTypedName();
}

// Left for another control, or for another window: the list closes.
void PlaceDropDown::focusOutEvent(QFocusEvent* event)
{
    QListView::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && QApplication::focusWidget() != placeBox_)
        hide();
}

}  // namespace cf::verification
