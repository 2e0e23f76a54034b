// SPDX-License-Identifier: MIT
#pragma once
// The about window: title, version, description, the project's contact links
// and the two buttons that open the help pages in the program's help viewer.

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cstddef>

namespace cf::frame {

// The project's contacts, shown as links here and in the footers of the help
// pages.
inline constexpr char kContactEmail[] = "info@progettocodicefiscale.it";
inline constexpr char kContactWebsite[] = "https://progettocodicefiscale.it";

class About : public QWidget {
    Q_OBJECT

public:
    explicit About(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showVersionAndLinks();
    void onCommandLineHelpClicked();
    void onCodeHelpClicked();
    void onInfoLabelClicked(std::size_t index);

    QLabel* programIcon_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    std::array<QLabel*, 7> infoLabels_{};
    QPushButton* commandLineHelpButton_ = nullptr;
    QPushButton* codeHelpButton_ = nullptr;
};

}  // namespace cf::frame
