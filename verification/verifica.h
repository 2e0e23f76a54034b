#pragma once
// The verification window: a codice fiscale or a Partita IVA is typed, its
// formal check is shown in message boxes and a correct codice fiscale is
// decoded into the output boxes.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

class QKeyEvent;

namespace cf::verification {

class Verifica : public QWidget {
    Q_OBJECT

public:
    explicit Verifica(QWidget* parent = nullptr);

    QLineEdit* Text1() const { return text1_; }    // the code to check
    QLineEdit* Text2() const { return text2_; }    // surname letters
    QLineEdit* Text3() const { return text3_; }    // first-name letters
    QLineEdit* Text5() const { return text5_; }    // sex
    QLineEdit* Text4() const { return text4_; }    // date of birth
    QLineEdit* Combo1() const { return combo1_; }  // place of birth
    QLabel* Label8() const { return label8_; }     // province
    QPushButton* Command2() const { return command2_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    bool Text1_KeyPress(const QKeyEvent& event);
    bool BoxKeyPress(QLineEdit* box, const QKeyEvent& event);
    void Text1_Change();
    void Command2_Click();

    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* combo1_ = nullptr;
    QLabel* label8_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace cf::verification
