// SPDX-License-Identifier: MIT
#pragma once
// The splash window shown while the place list loads, and the progress bar
// drawn on it.

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <array>

namespace cf::generation {

// The progress box of the splash (objectName "picScor"): an image that DrawProgress draws
// into and the box shows as it is.
class ProgressBox : public QWidget {
public:
    explicit ProgressBox(QWidget* parent = nullptr);

    QColor backColor{255, 255, 0};
    QColor foreColor{0, 0, 128};

    // The drawing, as large as the box.
    QImage& canvas();
    const QImage& canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
};

// Draws a progress bar of `value` out of `maximum` with `caption` centred in
// the box: the caption in the foreground colour on the background colour,
// then the bar in the foreground colour combined as NOT(bar XOR picture), so
// that the part of the caption under the bar shows inverted. A value above
// the maximum draws nothing. Lets pending paint and timer events run, not
// user input.
void DrawProgress(ProgressBox& box, int maximum, int value, const QString& caption);

class Splash : public QWidget {
    Q_OBJECT

public:
    explicit Splash(QWidget* parent = nullptr);

    ProgressBox* progressBox() const { return progressBox_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void colourAndFill();

    QPixmap background_;
    std::array<QLabel*, 2> titleLabels_{};
    QLabel* loadingLabel_ = nullptr;
    ProgressBox* progressBox_ = nullptr;
    std::array<QLabel*, 2> percentLabels_{};
    QLabel* versionLabel_ = nullptr;
    QLabel* licenceLabel_ = nullptr;
    QLabel* yearLabel_ = nullptr;
};

}  // namespace cf::generation
