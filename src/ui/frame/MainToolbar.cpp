#include "ui/frame/MainToolbar.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "core/base/Commands.h"
#include "ui/frame/ToolbarCustomizeDialog.h"

namespace brix {

namespace {

constexpr const char* CommandProperty = "brixCommand";

// A button is this many pixels larger than its icon, across and down.
constexpr int ButtonPadding = 7;

Qt::ToolButtonStyle QtStyleFor(int textStyle) {
    switch (textStyle) {
        case ToolbarNoText:
            return Qt::ToolButtonIconOnly;
        case ToolbarTextRight:
            return Qt::ToolButtonTextBesideIcon;
        default:
            return Qt::ToolButtonTextUnderIcon;
    }
}

}  // namespace

MainToolbar::MainToolbar(Settings settings, ActionLookup actions, CommandIcons icons,
                         QWidget* parent)
    : QToolBar(parent),
      settings_(std::move(settings)),
      actions_(std::move(actions)),
      icons_(std::move(icons)) {
    setObjectName(QStringLiteral("MainToolbar"));
    setWindowTitle(tr("Toolbar"));
    // The toolbar keeps its place under the menu; only its buttons are customisable.
    setMovable(false);
    setFloatable(false);
    // Nor can it be hidden: QMainWindow would offer that on its context menu, and nothing in
    // the program brings a hidden toolbar back.
    toggleViewAction()->setVisible(false);

    regionMenu_ = new QMenu(this);
    connect(regionMenu_, &QMenu::aboutToShow, this, [this] {
        regionMenu_->clear();
        if (regionFiller_) {
            regionFiller_(*regionMenu_);
        }
    });
    // Separators take a fixed width along the toolbar, which depends on its orientation.
    connect(this, &QToolBar::orientationChanged, this, &MainToolbar::Rebuild);

    buttons_ = ParseToolbarButtons(settings_.TBButtons());
    textStyle_ = settings_.TBTextStyle();
    iconStyle_ = settings_.TBIconStyle();
    Rebuild();
}

MainToolbar::~MainToolbar() {
    // The dialog belongs to the window, not to the toolbar; it must not outlive what it edits.
    delete dialog_.data();
}

void MainToolbar::SetButtons(std::vector<ToolbarButton> buttons) {
    buttons_ = std::move(buttons);
    Rebuild();
}

void MainToolbar::ApplyStyles(int textStyle, int iconStyle) {
    textStyle_ = textStyle;
    iconStyle_ = iconStyle;
    Rebuild();
}

void MainToolbar::SaveButtons() const {
    settings_.WriteTBButtons(FormatToolbarButtons(buttons_));
}

// A button action of our own stands in for the frame's action, so that the toolbar can show
// its own label, tooltip and icon while the menu keeps the menu texts. It mirrors the frame's
// enabled and checked state and passes presses on.
QAction* MainToolbar::MakeButtonAction(const ToolbarButton& button) {
    auto* action = new QAction(this);
    const QString label = QString::fromStdString(CommandLabel(button.Command));
    action->setText(label);
    action->setIconText(label);
    action->setToolTip(QString::fromStdString(CommandTooltip(button.Command)));
    action->setIcon(icons_.ForIndex(button.Icon));
    action->setData(button.Command);
    action->setCheckable(button.Style == ToolbarButtonStyle::Check);
    if (button.Style == ToolbarButtonStyle::DropDown) {
        action->setMenu(regionMenu_);
    }

    QAction* target = actions_ ? actions_(button.Command) : nullptr;
    if (target != nullptr) {
        auto follow = [action, target] {
            action->setEnabled(target->isEnabled());
            action->setChecked(target->isChecked());
        };
        follow();
        connect(target, &QAction::changed, action, follow);
        connect(action, &QAction::triggered, target, [guard = QPointer<QAction>(action), target] {
            target->trigger();
            // A frame action that refuses the change leaves the button as it was.
            if (guard) {
                guard->setChecked(target->isChecked());
            }
        });
    }
    return action;
}

void MainToolbar::PrepareButton(QToolButton& button, const ToolbarButton& entry, bool hasLabel) {
    const int extent = ToolbarIconSize(iconStyle_) + ButtonPadding;
    button.setProperty(CommandProperty, entry.Command);
    button.setMinimumSize(extent, extent);
    button.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (entry.Style == ToolbarButtonStyle::DropDown) {
        button.setPopupMode(QToolButton::InstantPopup);
    }
    if (textStyle_ == ToolbarNoText) {
        // The drop-down arrow sits in the button's lower right corner; without a label
        // beside it, it needs room of its own next to the icon.
        const int arrow =
            entry.Style == ToolbarButtonStyle::DropDown
                ? button.style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, &button) - 2
                : 0;
        button.setFixedSize(extent + std::max(arrow, 0), extent);
    } else {
        if (textStyle_ == ToolbarTextRight && !hasLabel) {
            button.setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
        // Buttons that do not fit go behind the toolbar's extension button whole, rather
        // than being squeezed until their labels are cut.
        button.setMinimumWidth(button.sizeHint().width());
    }
    button.installEventFilter(this);
}

void MainToolbar::Rebuild() {
    clear();
    for (QAction* action : buttonActions_) {
        delete action;
    }
    buttonActions_.clear();

    const int iconSize = ToolbarIconSize(iconStyle_);
    setIconSize(QSize(iconSize, iconSize));
    setToolButtonStyle(QtStyleFor(textStyle_));

    std::vector<QToolButton*> labelled;
    for (const ToolbarButton& button : buttons_) {
        if (button.IsSeparator()) {
            QAction* separator = addSeparator();
            buttonActions_.push_back(separator);
            if (QWidget* widget = widgetForAction(separator)) {
                if (orientation() == Qt::Horizontal) {
                    widget->setFixedWidth(ToolbarSeparatorWidth);
                } else {
                    widget->setFixedHeight(ToolbarSeparatorWidth);
                }
            }
            continue;
        }
        QAction* action = MakeButtonAction(button);
        addAction(action);
        buttonActions_.push_back(action);
        if (auto* toolButton = qobject_cast<QToolButton*>(widgetForAction(action))) {
            const bool hasLabel = !action->iconText().isEmpty();
            PrepareButton(*toolButton, button, hasLabel);
            labelled.push_back(toolButton);
        }
    }

    // Labels under the icons: every button is as wide as the widest, as a row of equal
    // buttons reads better than one whose widths follow the words.
    if (textStyle_ != ToolbarNoText && textStyle_ != ToolbarTextRight) {
        int width = 0;
        for (QToolButton* button : labelled) {
            width = std::max(width, button->sizeHint().width());
        }
        for (QToolButton* button : labelled) {
            button->setMinimumWidth(width);
        }
    }
    updateGeometry();
}

QToolButton* MainToolbar::ButtonForCommand(int command) const {
    for (QAction* action : buttonActions_) {
        if (!action->isSeparator() && action->data().toInt() == command) {
            return qobject_cast<QToolButton*>(widgetForAction(action));
        }
    }
    return nullptr;
}

void MainToolbar::ShowRegionMenu() {
    QToolButton* button = ButtonForCommand(Command::Region);
    if (button != nullptr && button->isVisible()) {
        button->showMenu();
    }
}

void MainToolbar::Customize() {
    if (dialog_) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    const CommandIcons icons = icons_;
    auto* dialog = new ToolbarCustomizeDialog(
        buttons_, textStyle_, iconStyle_,
        [icons](int command) { return icons.ForCommand(command); }, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ToolbarCustomizeDialog::ButtonsChanged, this,
            [this, dialog] { SetButtons(dialog->Buttons()); });
    connect(dialog, &QDialog::finished, this, [this, dialog] { FinishCustomize(*dialog); });
    dialog_ = dialog;
    dialog->open();
}

// Written whether or not anything changed, so the file always holds what is shown.
void MainToolbar::FinishCustomize(const ToolbarCustomizeDialog& dialog) {
    textStyle_ = dialog.Options().TextStyle();
    iconStyle_ = dialog.Options().IconStyle();
    settings_.WriteTBTextStyle(textStyle_);
    settings_.WriteTBIconStyle(iconStyle_);
    buttons_ = dialog.Buttons();
    Rebuild();
    SaveButtons();
}

void MainToolbar::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* customize = menu->addAction(tr("Customize..."));
    customize->setData(Command::Customize);
    connect(customize, &QAction::triggered, this, [this] { Customize(); });
    menu->popup(event->globalPos());
    event->accept();
}

// The status bar follows the button under the pointer: an enabled button shows what its
// command does, a disabled one the idle text.
bool MainToolbar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            const int command = button->property(CommandProperty).toInt();
            if (command != 0) {
                ReportStatus(button->isEnabled() ? CommandStatusText(command) : std::string());
            }
        }
    }
    return QToolBar::eventFilter(watched, event);
}

void MainToolbar::leaveEvent(QEvent* event) {
    ReportStatus(std::string());
    QToolBar::leaveEvent(event);
}

void MainToolbar::ReportStatus(const std::string& text) const {
    if (statusText_) {
        statusText_(text);
    }
}

}  // namespace brix
