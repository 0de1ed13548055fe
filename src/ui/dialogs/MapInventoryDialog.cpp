#include "ui/dialogs/MapInventoryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "ui/dialogs/DialogButtons.h"
#include "ui/dialogs/DialogOwner.h"

namespace brix {
namespace {

// Each item carries its record's number, so the choice is read back by number, never by the
// shown text or the position.
void FillNumbered(QComboBox& list, const std::vector<NumberedItem>& items, int position) {
    for (const NumberedItem& item : items)
        list.addItem(QString::fromStdString(NumberedItemText(item)), item.Number);
    list.setCurrentIndex(position);
}

int ChosenNumber(const QComboBox& list) {
    const QVariant number = list.currentData();
    return number.isValid() ? number.toInt() : 0;
}

}  // namespace

MapInventoryDialog::MapInventoryDialog(Session& session, Messages& messages, int treasure,
                                       bool adding, QWidget* parent)
    : QDialog(parent), session_(session), messages_(messages), adding_(adding) {
    setObjectName(QStringLiteral("MapInventoryDialog"));
    const MapInventoryOpening opening = PrepareMapInventory(session, treasure, adding);
    setWindowTitle(QString::fromStdString(opening.Caption));

    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("CurrentCounts"));
    counts_->setTextFormat(Qt::PlainText);

    treasures_ = new QComboBox(this);
    treasures_->setObjectName(QStringLiteral("TreasureList"));
    FillNumbered(*treasures_, opening.Treasures, opening.TreasurePosition);

    character_ = new QComboBox(this);
    character_->setObjectName(QStringLiteral("CharacterField"));
    character_->setEditable(true);
    // Typing "Bo" must never record the map for "Bob": no completion, and the typed text is
    // never made into a list item.
    character_->setCompleter(nullptr);
    character_->setInsertPolicy(QComboBox::NoInsert);
    int limit = MaxTypedCharacterName;
    for (const std::string& name : opening.CharacterNames) {
        const QString text = QString::fromStdString(name);
        limit = std::max(limit, static_cast<int>(text.size()));
        character_->addItem(text);
    }
    // Setting a text longer than the limit would cut it, and OK would then look up (or create)
    // a character of the cut name.
    character_->lineEdit()->setMaxLength(limit);
    const int current = opening.CharacterName.empty()
                            ? -1
                            : character_->findText(QString::fromStdString(opening.CharacterName),
                                                   Qt::MatchFixedString | Qt::MatchCaseSensitive);
    character_->setCurrentIndex(current);
    if (current < 0) character_->setEditText(QString());

    levels_ = new QComboBox(this);
    levels_->setObjectName(QStringLiteral("LevelList"));
    FillNumbered(*levels_, opening.Levels, opening.LevelPosition);

    auto* currentLabel = new QLabel(tr("Current"), this);
    currentLabel->setBuddy(counts_);
    auto* treasureLabel = new QLabel(tr("&Treasure"), this);
    treasureLabel->setBuddy(treasures_);
    auto* characterLabel = new QLabel(tr("C&haracter"), this);
    characterLabel->setBuddy(character_);
    auto* levelLabel = new QLabel(tr("&Level"), this);
    levelLabel->setBuddy(levels_);

    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);
    buttons->setObjectName(QStringLiteral("Buttons"));

    auto* grid = new QGridLayout;
    grid->addWidget(currentLabel, 0, 0);
    grid->addWidget(counts_, 0, 1);
    grid->addWidget(treasureLabel, 1, 0);
    grid->addWidget(treasures_, 1, 1);
    grid->addWidget(characterLabel, 2, 0);
    grid->addWidget(character_, 2, 1);
    grid->addWidget(levelLabel, 3, 0);
    grid->addWidget(levels_, 3, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    setTabOrder(treasures_, character_);
    setTabOrder(character_, levels_);
    setTabOrder(levels_, buttons);

    // The counts follow the treasure and the character; the level plays no part in them.
    connect(treasures_, &QComboBox::currentIndexChanged, this, &MapInventoryDialog::UpdateCounts);
    connect(character_, &QComboBox::editTextChanged, this, &MapInventoryDialog::UpdateCounts);
    UpdateCounts();
    treasures_->setFocus();
}

void MapInventoryDialog::UpdateCounts() {
    counts_->setText(QString::fromStdString(MapCountsText(
        session_.GetUser(), character_->currentText().toStdString(), ChosenNumber(*treasures_))));
}

void MapInventoryDialog::accept() {
    MapInventoryRequest request;
    request.Name = character_->currentText().toStdString();
    request.Treasure = ChosenNumber(*treasures_);
    request.Level = ChosenNumber(*levels_);
    request.Adding = adding_;
    if (AcceptMapInventory(session_, messages_, this, request)) QDialog::accept();
}

void RunMapInventory(Session& session, Messages& messages, int treasure, bool adding,
                     QWidget* fallback) {
    QPointer<MapInventoryDialog> dialog =
        new MapInventoryDialog(session, messages, treasure, adding, DialogOwner(fallback));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->exec();
    // Null when the owner took the dialog with it while it was open.
    delete dialog.data();
}

}  // namespace brix
