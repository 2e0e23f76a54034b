#pragma once
// The card facsimile window: the person's data written on a picture of the
// tax-code card, with a link back to the data.

#include <QLabel>
#include <QString>
#include <QWidget>

#include <array>

namespace cf::generation {

// The seven values the card shows.
struct CardValues {
    QString code;
    QString surname;
    QString firstName;
    QString sex;
    QString place;
    QString province;
    QString birthDate;
};

class Tesserino : public QWidget {
    Q_OBJECT

public:
    explicit Tesserino(QWidget* parent = nullptr);

    // Writes the values into the card's labels.
    void Fill(const CardValues& values);

    QLabel* label(int number) const;  // Label1 .. Label8
    QLabel* lblAnno() const { return lblAnno_; }
    QLabel* Picture1() const { return picture1_; }
    bool linkHighlighted() const;

signals:
    // The link was clicked and the card has closed: the data window should
    // show again.
    void returnRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Form_Load();
    void SetLinkHighlight(bool on);
    void Label8_Click();

    QLabel* picture1_ = nullptr;
    std::array<QLabel*, 8> labels_{};  // Label1 .. Label8
    QLabel* lblAnno_ = nullptr;
    std::array<QWidget*, 2> shape1_{};
};

}  // namespace cf::generation
