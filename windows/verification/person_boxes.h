// SPDX-License-Identifier: MIT
#pragma once
// The person's data beside the verification window's code: optional boxes
// for surname, first name, sex, date and place of birth, which take what the
// generation window's boxes take, and the verdict on whether the code
// checked belongs to that person.

#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>
#include <string_view>

#include "engine/code/message_icon.h"

namespace cf::verification {

class PlaceDropDown;

class PersonBoxes : public QWidget {
    Q_OBJECT

public:
    explicit PersonBoxes(QWidget* window);

    QLineEdit* surnameBox() const { return surnameBox_; }
    QLineEdit* firstNameBox() const { return firstNameBox_; }
    QLineEdit* sexBox() const { return sexBox_; }
    QLineEdit* birthDateBox() const { return birthDateBox_; }
    QLineEdit* placeBox() const { return placeBox_; }
    QLabel* placeArrow() const { return placeArrow_; }
    PlaceDropDown* placeList() const { return placeList_; }
    QLabel* verdictLabel() const { return verdictLabel_; }
    // The boxes in tab order.
    std::array<QLineEdit*, 5> boxes() const;

    struct Comparison {
        QStringList lines;
        MessageIcon icon;
    };
    // Compares a formally correct codice fiscale (upper case) with the data
    // typed and shows the verdict: that the code corresponds (for a
    // homocode, to which code), or how each part differs; when the data
    // cannot be compared, why, with the focus in the box at fault. Nothing
    // when every box is empty.
    std::optional<Comparison> compare(std::string_view code);
    // Empties the verdict: it belongs to one code and one person.
    void clearVerdict();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    bool handleBoxKey(QLineEdit* box, const QKeyEvent& event);
    bool isEmpty() const;
    void onPlacePicked(int row);
    void showVerdict(const QString& verdict);

    QLineEdit* surnameBox_ = nullptr;
    QLineEdit* firstNameBox_ = nullptr;
    QLineEdit* sexBox_ = nullptr;
    QLineEdit* birthDateBox_ = nullptr;
    QLineEdit* placeBox_ = nullptr;
    QLabel* placeArrow_ = nullptr;
    PlaceDropDown* placeList_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
    // The row of the place table picked from the list, until the place box
    // is edited; -1 when none. A name typed bare means any of its places:
    // the code tells which.
    int pickedPlaceRow_ = -1;
};

}  // namespace cf::verification
