// SPDX-License-Identifier: MIT
#pragma once
// The generation window: the person's data boxes, the place list, the
// generated code, and the commands Generate, New code and Archive.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/code/person.h"
#include "windows/generation/place_list_loader.h"
#include "windows/generation/tesserino.h"

class QListWidget;
class QListWidgetItem;
class QScrollBar;

namespace cf::widgets {
class MultiColumnList;
}

namespace cf::generation {

class MainForm : public QWidget {
    Q_OBJECT

public:
    // Creating the window loads the place list; see LoadPlaceList for the
    // hooks.
    explicit MainForm(QWidget* parent = nullptr, const PlaceListHooks& hooks = {});
    ~MainForm() override;

    // The person the boxes hold: the place without the province in brackets
    // that tells namesakes apart.
    Person person() const;
    // Writes a person into the boxes, in the order of an archive line, each
    // write running that box's change handling; a namesake's place gets its
    // province in brackets.
    void setPerson(const Person& person);
    // Writes the person into the boxes and shows this window: a person
    // loaded back from the archive.
    void showPerson(const Person& person);

    // The controls; each keeps the original control's name as its
    // objectName (surnameBox() is "Text2"), for screen readers and tests.
    QLineEdit* surnameBox() const { return surnameBox_; }
    QLineEdit* firstNameBox() const { return firstNameBox_; }
    QLineEdit* sexBox() const { return sexBox_; }
    QLineEdit* birthDateBox() const { return birthDateBox_; }
    QLineEdit* placeBox() const { return placeBox_; }
    QLabel* provinceLabel() const { return provinceLabel_; }
    QLabel* codeLabel() const { return codeLabel_; }
    QPushButton* generateButton() const { return generateButton_; }
    QPushButton* archiveButton() const { return archiveButton_; }
    widgets::MultiColumnList& placeList() const { return *placeList_; }

    // Sets the code label and applies the code-changed rule: a code enables
    // archiving and makes the label a copy button (hand pointer, tooltip).
    void setCode(const QString& code);

    // Where Archive appends; by default cf::ArchivePath().
    void setArchivePath(const QString& path) { archivePath_ = path; }

    // Shows the card after Generate. The default shows a top-level card
    // window that brings this window back when its link is clicked.
    using CardPresenter = std::function<void(const Person&)>;
    void setCardPresenter(CardPresenter presenter) { cardPresenter_ = std::move(presenter); }

    // Shows this window again (or the sub-window holding it).
    void showWindow();
    // Hides this window and shows the person with the code on the card,
    // ready to archive: what Generate ends with, and what printing the card
    // does.
    void showCard();
    // Gives the focus to the code label, or to Generate while there is no
    // code: where the keyboard goes back to from the card, so that Enter
    // copies the code rather than pressing New code.
    void focusCode();

signals:
    // The code shown changed: a code computed, loaded or taken back (empty)
    // because the data changed.
    void codeChanged(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void loadPlaceList(const PlaceListHooks& hooks);

    bool handleBoxKey(QLineEdit* box, QKeyEvent* event);
    bool handleDropDownKey(QKeyEvent& event);
    void closeDropDown();
    bool handleCodeKey(const QKeyEvent& event);
    void giveFocus(QWidget* box);
    QString placeName() const;
    void setPlace(const std::string& name, const std::string& province);
    void setProvince(const QString& province);
    void onPersonChanged();
    int typedPlaceRow() const;
    void showPlace(int row);
    bool isTableRow(int row) const;
    std::vector<int> namesakesOnTheBirthDate() const;
    void askWhichPlace(const std::vector<int>& rows);
    void showEveryPlace();
    void hideDropDown();
    void fitDropDownToItsRows();

    void checkBirthDateOnLeaving();
    void checkPlaceOnLeaving();
    void writeSanremo();
    void onPlaceBoxClicked();
    void onDropDownArrowClicked();
    void openDropDown();
    void moveDropDownToTypedName();
    void onPlacePicked(QListWidgetItem* item);
    void onCodeClicked();
    bool refuseMissingData();
    void onGenerateClicked();
    void onNewCodeClicked();
    bool confirmSecondCopy(const std::string& archivePath) const;
    void onArchiveClicked();
    void showDefaultCard(const Person& person);

    QLineEdit* surnameBox_ = nullptr;
    QLineEdit* firstNameBox_ = nullptr;
    QLineEdit* sexBox_ = nullptr;
    QLineEdit* birthDateBox_ = nullptr;
    QLineEdit* placeBox_ = nullptr;
    QLabel* dropDownArrow_ = nullptr;
    QLabel* provinceLabel_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QPushButton* generateButton_ = nullptr;
    QPushButton* newCodeButton_ = nullptr;
    QPushButton* archiveButton_ = nullptr;
    // The place list's columns: names (also the drop-down list of the place
    // box), codes and provinces, with the scroll bar they share.
    std::array<QListWidget*, 3> placeColumns_{};
    QScrollBar* placeScrollBar_ = nullptr;
    widgets::MultiColumnList* placeList_ = nullptr;

    QString archivePath_;
    CardPresenter cardPresenter_;
    QPointer<Tesserino> card_;
    bool movingFocus_ = false;     // the window itself is moving the focus
    bool rewritingPlace_ = false;  // the place box gets its name in the table's form
    // The table row picked from the drop-down list, until the place box is
    // edited; -1 when none.
    int pickedPlaceRow_ = -1;
    // The drop-down shows only the places a bare name means, to pick one.
    bool askingWhichPlace_ = false;
    // The place box's text last asked about, so that leaving the box again
    // does not ask again.
    QString placeAskedAbout_;
};

}  // namespace cf::generation
