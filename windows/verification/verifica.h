// SPDX-License-Identifier: MIT
#pragma once
// The verification window: a codice fiscale or a Partita IVA is typed, its
// formal check is shown in message boxes and kept in the window, and a
// correct codice fiscale is decoded into the read-only output boxes and,
// when the person's data are typed beside it, compared with them.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "windows/verification/person_boxes.h"

class QKeyEvent;

namespace cf::verification {

class Verifica : public QWidget {
    Q_OBJECT

public:
    explicit Verifica(QWidget* parent = nullptr);

    // The controls; each keeps the original control's name as its
    // objectName (codeBox() is "Text1"), for screen readers and tests.
    QLineEdit* codeBox() const { return codeBox_; }        // the code to check
    QLineEdit* surnameBox() const { return surnameBox_; }  // surname letters
    QLineEdit* firstNameBox() const { return firstNameBox_; }
    QLineEdit* sexBox() const { return sexBox_; }
    QLineEdit* birthDateBox() const { return birthDateBox_; }
    QLineEdit* placeBox() const { return placeBox_; }  // place of birth
    QLabel* provinceLabel() const { return provinceLabel_; }
    QLabel* verdictLabel() const { return verdictLabel_; }  // the verdict, kept in the window
    QPushButton* checkButton() const { return checkButton_; }
    PersonBoxes* personBoxes() const { return personBoxes_; }  // the person\'s data, optional

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    bool handleCodeKey(const QKeyEvent& event);
    void onCheckClicked();
    // Empties the decoded fields and the verdict: they belong to one code.
    void clearResult();
    void showVerdict(const QString& verdict);

    QLineEdit* codeBox_ = nullptr;
    QLineEdit* surnameBox_ = nullptr;
    QLineEdit* firstNameBox_ = nullptr;
    QLineEdit* sexBox_ = nullptr;
    QLineEdit* birthDateBox_ = nullptr;
    QLineEdit* placeBox_ = nullptr;
    QLabel* provinceLabel_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
    QPushButton* checkButton_ = nullptr;
    PersonBoxes* personBoxes_ = nullptr;
};

}  // namespace cf::verification
