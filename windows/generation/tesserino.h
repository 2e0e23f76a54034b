// SPDX-License-Identifier: MIT
#pragma once
// The card facsimile window: the person's data written on a picture of the
// tax-code card, with a link back to the data.

#include <QLabel>
#include <QString>
#include <QWidget>

#include <array>
#include <vector>

#include "engine/code/person.h"

namespace cf::generation {

class Tesserino : public QWidget {
    Q_OBJECT

public:
    explicit Tesserino(QWidget* parent = nullptr);

    // Writes the person into the card's labels.
    void setPerson(const Person& person);

    // The labels by their numbers: 1 code, 2 surname, 3 first name, 4 sex,
    // 5 place, 6 province, 7 date of birth, 8 the link back.
    QLabel* label(int number) const;
    QLabel* yearLabel() const { return yearLabel_; }
    QLabel* cardPicture() const { return cardPicture_; }
    bool linkHighlighted() const;

signals:
    // The link was clicked and the card has closed: the data window should
    // show again.
    void returnRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showCardPicture();
    void setLinkHighlight(bool on);
    void onLinkClicked();

    // A value on the card: its label, design font and place, and the right
    // edge of its field box, in pixels of the card picture.
    struct Field {
        QLabel* label;
        QFont designFont;
        QPoint topLeft;
        int right;
        void show(const QString& text) const;
    };

    std::vector<Field> fields_;
    QLabel* cardPicture_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QLabel* surnameLabel_ = nullptr;
    QLabel* firstNameLabel_ = nullptr;
    QLabel* sexLabel_ = nullptr;
    QLabel* placeLabel_ = nullptr;
    QLabel* provinceLabel_ = nullptr;
    QLabel* birthDateLabel_ = nullptr;
    QLabel* yearLabel_ = nullptr;
    QLabel* linkLabel_ = nullptr;
    // The link's highlight: a dark grey box with a white one over it.
    QWidget* linkShadow_ = nullptr;
    QWidget* linkHighlight_ = nullptr;
};

}  // namespace cf::generation
