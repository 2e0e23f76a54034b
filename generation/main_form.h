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

#include "generation/place_list_loader.h"
#include "generation/tesserino.h"

class CMultiListbox;
class QListWidget;
class QListWidgetItem;
class QScrollBar;

namespace cf::generation {

class MainForm : public QWidget {
    Q_OBJECT

public:
    // Creating the window loads the place list (Load); see LoadPlaceList for
    // the hooks.
    explicit MainForm(QWidget* parent = nullptr, const PlaceListHooks& hooks = {});
    ~MainForm() override;

    // The person's controls. Writing a box's text runs its change handling
    // (upper-casing); the code label is written through setCode.
    QLineEdit* Text2() const { return text2_; }   // surname
    QLineEdit* Text3() const { return text3_; }   // first name
    QLineEdit* Text5() const { return text5_; }   // sex
    QLineEdit* Text4() const { return text4_; }   // date of birth
    QLineEdit* Combo1() const { return combo1_; } // place of birth
    QLabel* Label8() const { return label8_; }    // province
    QLabel* Varnel() const { return varnel_; }    // codice fiscale
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command3() const { return command3_; }

    // Sets the code label and applies the code-changed rule: a code enables
    // archiving and makes the label a copy button (hand pointer, tooltip).
    void setCode(const QString& code);

    // The place of birth without the province in brackets that tells
    // namesakes apart: what the archive, the card and the printouts hold.
    QString placeName() const;
    // Writes a place and its province into the place box and the province
    // label; a namesake gets its province in brackets in the box.
    void setPlace(const QString& name, const QString& province);
    CMultiListbox& placeList() const { return *places_; }

    // Where Archive appends; by default cf::ArchivePath().
    void setArchivePath(const QString& path) { archivePath_ = path; }

    // Shows the card after Generate. The default shows a top-level card
    // window that brings this window back when its link is clicked.
    using CardPresenter = std::function<void(const CardValues&)>;
    void setCardPresenter(CardPresenter presenter) { cardPresenter_ = std::move(presenter); }

    // Shows this window again (or the sub-window holding it).
    void ShowWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Form_Load(const PlaceListHooks& hooks);

    bool BoxKeyPress(QLineEdit* box, QKeyEvent* event);
    void GiveFocus(QWidget* box);
    void UpperCase(QLineEdit* box);
    void Text4_LostFocus();
    int TypedPlaceRow() const;
    void ShowPlace(int row);
    void Combo1_LostFocus();
    void Combo1_Click();
    void Picture1_Click();
    void List1_Pick(QListWidgetItem* item);
    void Varnel_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void ShowDefaultCard(const CardValues& values);

    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* combo1_ = nullptr;
    QLabel* picture1_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* varnel_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    std::array<QListWidget*, 3> list1_{};
    QScrollBar* vScroll1_ = nullptr;
    CMultiListbox* places_ = nullptr;

    QString archivePath_;
    CardPresenter cardPresenter_;
    QPointer<Tesserino> card_;
    bool movingFocus_ = false;  // the window itself is moving the focus
    // The table row picked from the drop-down list, until the place box is
    // edited; -1 when none.
    int pickedPlaceRow_ = -1;
};

}  // namespace cf::generation
