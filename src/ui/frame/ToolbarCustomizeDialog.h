#pragma once

#include <QDialog>
#include <QIcon>
#include <QWidget>

#include <functional>
#include <vector>

#include "core/base/ToolbarLayout.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace brix {

// The label style and icon size of the toolbar, as two drop-down lists.
class ToolbarOptionsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ToolbarOptionsPanel(QWidget* parent = nullptr);

    // A value outside the list's range shows, and holds, the first item.
    void SetTextStyle(int style);
    void SetIconStyle(int style);
    int TextStyle() const { return textStyle_; }
    int IconStyle() const { return iconStyle_; }

    // The first and the last control, for the tab order of the window around the panel.
    QComboBox* TextList() const { return textList_; }
    QComboBox* IconList() const { return iconList_; }

private:
    QComboBox* textList_ = nullptr;
    QComboBox* iconList_ = nullptr;
    int textStyle_ = ToolbarTextUnder;
    int iconStyle_ = ToolbarLargeIcons;
};

// Lets the user choose, order and space the toolbar's buttons and pick its styles. The
// buttons change as the user edits them (ButtonsChanged); the styles are read by the owner
// when the dialog finishes.
class ToolbarCustomizeDialog : public QDialog {
    Q_OBJECT
public:
    using IconLookup = std::function<QIcon(int command)>;

    ToolbarCustomizeDialog(std::vector<ToolbarButton> buttons, int textStyle, int iconStyle,
                           IconLookup icons, QWidget* parent = nullptr);

    const std::vector<ToolbarButton>& Buttons() const { return buttons_; }
    ToolbarOptionsPanel& Options() const { return *options_; }

Q_SIGNALS:
    void ButtonsChanged();

private:
    void AddSelected();
    void RemoveSelected();
    void MoveSelected(int step);
    void ResetButtons();
    void SetButtons(std::vector<ToolbarButton> buttons, int selectedRow);
    void FillLists(int selectedRow);
    void UpdateActions();
    QListWidgetItem* MakeItem(const ToolbarButton& button) const;

    std::vector<ToolbarButton> buttons_;
    IconLookup icons_;
    QListWidget* available_ = nullptr;
    QListWidget* current_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* moveUp_ = nullptr;
    QPushButton* moveDown_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* close_ = nullptr;
    ToolbarOptionsPanel* options_ = nullptr;
};

}  // namespace brix
