#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace brix {

struct GameRecords;
class Messages;
class NumberedListWidget;
class RecordListBox;
class RuneLibraryDraft;
class RuneLibraryManager;
class Session;

// "Rune Book Configuration": the name of one book of a library copy (row -1: a new book) and
// its treasures, moved between "Available Treasures" and "Treasures In Rune Book" (at most
// 16). OK stores the book into the copy only.
class RuneBookConfigDialog : public QDialog {
    Q_OBJECT
public:
    RuneBookConfigDialog(const GameRecords& game, RuneLibraryDraft& draft, int row,
                         QWidget* parent = nullptr);

    int ResultRow() const { return resultRow_; }
    QLineEdit* NameEdit() const { return name_; }
    NumberedListWidget* Available() const { return available_; }
    NumberedListWidget* InBook() const { return inBook_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }

    void accept() override;

private:
    void AddSelected();
    void RemoveSelected();
    void UpdateButtons();

    RuneLibraryDraft& draft_;
    int row_;
    int resultRow_ = -1;
    QLineEdit* name_ = nullptr;
    NumberedListWidget* available_ = nullptr;
    NumberedListWidget* inBook_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
};

// "Rune Library Configuration": the name and the books of one library (row -1: a new one),
// edited on a private copy that reaches the catalogue only on OK.
class RuneLibraryConfigDialog : public QDialog {
    Q_OBJECT
public:
    RuneLibraryConfigDialog(const GameRecords& game, RuneLibraryManager& manager, int row,
                            QWidget* parent = nullptr);
    ~RuneLibraryConfigDialog() override;

    int ResultRow() const { return resultRow_; }
    QLineEdit* NameEdit() const { return name_; }
    RecordListBox* Books() const { return books_; }

    void accept() override;

private:
    void Refill(int selected);
    void ConfigureBook(int row);

    const GameRecords& game_;
    RuneLibraryManager& manager_;
    std::unique_ptr<RuneLibraryDraft> draft_;
    int resultRow_ = -1;
    QLineEdit* name_ = nullptr;
    RecordListBox* books_ = nullptr;
};

// "Manage Rune Libraries": every rune library by name, with New, Modify and Delete; the
// permanent libraries of the system data are refused for Modify and Delete.
class ManageRuneLibrariesDialog : public QDialog {
    Q_OBJECT
public:
    ManageRuneLibrariesDialog(Session& session, Messages& messages, QWidget* parent = nullptr);
    ~ManageRuneLibrariesDialog() override;

    RecordListBox* Records() const { return records_; }

private:
    void Refill(int selected);
    void Configure(int row);

    Session& session_;
    std::unique_ptr<RuneLibraryManager> manager_;
    RecordListBox* records_ = nullptr;
};

}  // namespace brix
