#include "ui/dialogs/LevelInfoDialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/output/LevelInformation.h"
#include "ui/dialogs/DialogOwner.h"

namespace brix {

LevelInfoDialog::LevelInfoDialog(const GameRecords& records, int initialLevel, QWidget* parent)
    : QDialog(parent), information_(std::make_unique<LevelInformation>(records, initialLevel)) {
    setObjectName(QStringLiteral("LevelInfoDialog"));
    setWindowTitle(tr("Level Information"));

    levels_ = new QComboBox(this);
    levels_->setObjectName(QStringLiteral("LevelChooser"));
    levels_->setAccessibleName(tr("Level"));
    // Items carry their level number: levels may have gaps, so a position is not a level.
    for (const NumberedItem& item : information_->Levels)
        levels_->addItem(QString::fromStdString(NumberedItemText(item)), item.Number);
    levels_->setCurrentIndex(information_->InitialPosition);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("LevelText"));
    text_->setAccessibleName(tr("Level information"));
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Room for the level text's lines without scrolling, in the user's font.
    const QFontMetrics metrics(text_->font());
    text_->setMinimumSize(metrics.averageCharWidth() * 44, metrics.lineSpacing() * 18);

    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(levels_);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);

    setTabOrder(levels_, text_);
    setTabOrder(text_, close);

    connect(levels_, &QComboBox::currentIndexChanged, this, &LevelInfoDialog::ShowChosenLevel);
    ShowChosenLevel();
    levels_->setFocus();
}

LevelInfoDialog::~LevelInfoDialog() = default;

void LevelInfoDialog::ShowChosenLevel() {
    const QVariant number = levels_->currentData();
    const std::string text = number.isValid() ? information_->TextOf(number.toInt()) : "";
    // The level text ends its lines with CR LF; the edit shows a line feed alone as a break.
    text_->setPlainText(QString::fromStdString(text).replace(QStringLiteral("\r\n"), "\n"));
}

void RunLevelInformation(const GameRecords& records, int initialLevel, QWidget* fallback) {
    QPointer<LevelInfoDialog> dialog =
        new LevelInfoDialog(records, initialLevel, DialogOwner(fallback));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->exec();
    // Null when the owner took the dialog with it while it was open.
    delete dialog.data();
}

}  // namespace brix
