#include "ui/dialogs/NumberedListWidget.h"

#include "core/base/Strings.h"
#include "core/data/ListMover.h"

namespace brix {

NumberedListWidget::NumberedListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void NumberedListWidget::AddNumbered(int number, const std::string& name) {
    auto* item = new QListWidgetItem(QString::fromStdString(FormatText("%d - %s", {number, name})));
    item->setData(Qt::UserRole, number);
    addItem(item);
}

std::vector<int> NumberedListWidget::Numbers() const {
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(count()));
    for (int row = 0; row < count(); ++row)
        numbers.push_back(item(row)->data(Qt::UserRole).toInt());
    return numbers;
}

int NumberedListWidget::SelectedRow() const {
    const QListWidgetItem* current = currentItem();
    return current != nullptr && current->isSelected() ? currentRow() : -1;
}

int NumberedListWidget::CurrentNumber() const {
    const QListWidgetItem* current = currentItem();
    return current != nullptr ? current->data(Qt::UserRole).toInt() : 0;
}

bool NumberedListWidget::SelectNumber(int number) {
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(Qt::UserRole).toInt() == number) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

void MoveCurrentItem(NumberedListWidget& from, NumberedListWidget& to) {
    const int position = from.currentRow();
    if (position < 0) return;
    std::vector<int> source = from.Numbers();
    std::vector<int> target = to.Numbers();
    const ListMove move = MoveBetweenLists(source, target, position);
    if (move.Inserted < 0) return;
    QListWidgetItem* item = from.takeItem(position);
    to.insertItem(move.Inserted, item);
    to.setCurrentRow(move.Inserted);
    from.setCurrentRow(move.NextInSource);
}

}  // namespace brix
