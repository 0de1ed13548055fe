#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace brix {

// Characters, rune libraries and rune books are all typed in a field limited to 32
// characters; a name that came from elsewhere (the map inventory allows 128) is shown whole,
// the limit widening to its length, because a line edit cuts text set by the program.
void ShowRecordName(QLineEdit& edit, const std::string& name);

// A list of record names with its "New", "Modify" and "Delete" buttons. The list shows the
// names in the order given; a row number is the caller's row (each caller ties its rows to
// records). Modify and Delete are enabled only while a row is selected; double-click means
// Modify.
class RecordListBox : public QWidget {
    Q_OBJECT
public:
    RecordListBox(const QString& label, const QString& listName, QWidget* parent = nullptr);

    // Shows the names and selects `selected` (-1: no row).
    void SetNames(const std::vector<std::string>& names, int selected);
    // The selected row, or -1.
    int SelectedRow() const;

    QListWidget* List() const { return list_; }
    QPushButton* NewButton() const { return new_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* DeleteButton() const { return delete_; }

Q_SIGNALS:
    void NewClicked();
    void ModifyClicked(int row);
    void DeleteClicked(int row);

private:
    void UpdateButtons();

    QListWidget* list_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace brix
