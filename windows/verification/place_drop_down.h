// SPDX-License-Identifier: MIT
#pragma once
// The drop-down list of a place box: every place of the table, as the
// generation window's list writes them (namesakes with their province), the
// name typed so far selected. It lies over the window below its box while
// open.

#include <QListView>

class QLineEdit;

namespace cf::verification {

class PlaceDropDown : public QListView {
    Q_OBJECT

public:
    // A hidden list, a child of `window`, for the place box.
    PlaceDropDown(QLineEdit* placeBox, QWidget* window);

    // Opens at the name typed so far, with the focus in it.
    void openAtTypedName();
    // Selects the first place whose name starts with (else holds) the text
    // of the box; none when no name does.
    void followTypedName();

signals:
    // A row of the place table, picked with Enter or a click.
    void picked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class Rows;

    void pickCurrent();
    // Back to the box, the caret after what was typed, nothing picked.
    void closeToTheBox();

    QLineEdit* placeBox_;
    Rows* rows_;
};

}  // namespace cf::verification
