#pragma once

#include <QDialog>

#include <memory>

class QDialogButtonBox;
class QLineEdit;
class QPushButton;

namespace brix {

class CharacterManager;
class Messages;
class RecordListBox;
class Session;

// "Character Configuration": the name of one character (row -1: a new one). OK keeps the
// dialog open while the manager refuses the name.
class CharacterConfigDialog : public QDialog {
    Q_OBJECT
public:
    CharacterConfigDialog(CharacterManager& manager, int row, QWidget* parent = nullptr);

    // The manager's row of the character after OK.
    int ResultRow() const { return resultRow_; }
    QLineEdit* NameEdit() const { return name_; }

    void accept() override;

private:
    CharacterManager& manager_;
    int row_;
    int resultRow_ = -1;
    QLineEdit* name_ = nullptr;
};

// "Manage Characters": every character by name, with New, Modify and Delete. Delete is at
// once and without asking.
class ManageCharactersDialog : public QDialog {
    Q_OBJECT
public:
    ManageCharactersDialog(Session& session, Messages& messages, QWidget* parent = nullptr);
    ~ManageCharactersDialog() override;

    RecordListBox* Records() const { return records_; }

private:
    void Refill(int selected);
    void Configure(int row);

    std::unique_ptr<CharacterManager> manager_;
    RecordListBox* records_ = nullptr;
};

}  // namespace brix
