#include "gui/state/HistoryComboBox.h"

#include "core/state/HistoryList.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QValidator>
#include <algorithm>

namespace orlenta {

namespace {

std::vector<std::string> ToStdStrings(const QStringList& texts) {
    std::vector<std::string> strings;
    strings.reserve(static_cast<size_t>(texts.size()));
    for (const QString& text : texts)
        strings.push_back(text.toStdString());
    return strings;
}

// Limits what the user types, not what the program puts into the box: a path that is chosen
// or browsed must reach the add command whole. Typing into a text that is already longer (a
// browsed path) may shorten it but not lengthen it; inserted text is cut to what still fits,
// as a pasted text is.
class TTypedLengthValidator : public QValidator {
public:
    TTypedLengthValidator(QLineEdit* edit, int maxLength)
        : QValidator(edit), FEdit(edit), FMaxLength(maxLength), FLength(edit->text().size()) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { FLength = text.size(); });
    }

    State validate(QString& input, int& position) const override {
        // A text set by the program leaves the edit unmodified; only the user's edits count.
        if (!FEdit->isModified())
            return Acceptable;
        const qsizetype allowed = std::max<qsizetype>(FMaxLength, FLength);
        const qsizetype excess = input.size() - allowed;
        if (excess > 0) {
            const qsizetype cut = std::min<qsizetype>(excess, position);
            input.remove(position - cut, cut);
            position -= static_cast<int>(cut);
            if (input.size() > allowed)
                return Invalid;
        }
        return Acceptable;
    }

private:
    QLineEdit* FEdit;
    int FMaxLength;
    qsizetype FLength;
};

// Draws the box's own item delegate, and a line under the last recently-used entry.
class TRecentSeparatorDelegate : public QAbstractItemDelegate {
public:
    TRecentSeparatorDelegate(THistoryComboBox* box, QAbstractItemDelegate* itemDelegate)
        : QAbstractItemDelegate(box), FBox(box), FItemDelegate(itemDelegate) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (FItemDelegate)
            FItemDelegate->paint(painter, option, index);
        if (index.row() != FBox->RecentCount() - 1)
            return;
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const int y = option.rect.bottom();
        painter->drawLine(option.rect.left(), y, option.rect.right(), y);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return FItemDelegate ? FItemDelegate->sizeHint(option, index) : QSize();
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        return FItemDelegate && FItemDelegate->editorEvent(event, model, option, index);
    }

private:
    THistoryComboBox* FBox;
    QPointer<QAbstractItemDelegate> FItemDelegate;
};

} // namespace

THistoryComboBox::THistoryComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    completer()->setCaseSensitivity(Qt::CaseSensitive);
    completer()->setCompletionMode(QCompleter::InlineCompletion);
    lineEdit()->setValidator(new TTypedLengthValidator(lineEdit(), kMaxTypedLength));
    // setItemDelegate leaves the old delegate to its parent, which keeps it for us to draw with.
    setItemDelegate(new TRecentSeparatorDelegate(this, itemDelegate()));
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        FPicked = false;
        FTyped = true;
    });
    // Picked with the arrow keys or in the list; the match Qt makes when the focus leaves is
    // judged by focusOutEvent.
    connect(this, &QComboBox::activated, this, [this] {
        if (!FLeaving)
            FPicked = true;
    });
}

QStringList THistoryComboBox::Items() const {
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    return items;
}

void THistoryComboBox::SetItems(const QStringList& items) {
    const QString text = currentText();
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(text);
    FRecent.clear();
    FPicked = false;
    FTyped = false;
}

int THistoryComboBox::ShownEntry() const {
    const int index = currentIndex();
    return index >= 0 && itemText(index) == currentText() ? index : -1;
}

void THistoryComboBox::hidePopup() {
    QComboBox::hidePopup();
    // The list hides before the chosen entry is made current: look once that is done.
    QMetaObject::invokeMethod(this, &THistoryComboBox::DropDownClosed, Qt::QueuedConnection);
}

void THistoryComboBox::DropDownClosed() {
    const int index = ShownEntry();
    if (index < 0)
        return;
    FPicked = true;
    RecordUse(index, true);
}

void THistoryComboBox::focusOutEvent(QFocusEvent* event) {
    const bool picked = FPicked && ShownEntry() >= 0;
    // Leaving the box makes the entry that the typed (or completed) text names exactly the
    // current one; a text that was only restored names none.
    const bool typed = FTyped;
    FLeaving = true;
    QComboBox::focusOutEvent(event);
    FLeaving = false;
    if (event->reason() == Qt::PopupFocusReason)
        return;
    const int index = ShownEntry();
    if (index >= 0 && (picked || typed)) {
        FTyped = false;
        RecordUse(index, false);
    }
}

void THistoryComboBox::RecordUse(int index, bool fromDropDown) {
    THistoryList list(ToStdStrings(Items()), FRecent);
    const int selected = static_cast<int>(list.RecordUse(static_cast<size_t>(index), fromDropDown));
    FRecent = list.Recent();
    const QString text = currentText();
    const std::vector<std::string>& items = list.Items();
    // Copies only ever go on top; inserting them keeps the current entry current.
    while (count() < static_cast<int>(items.size()))
        insertItem(0, QString());
    setCurrentIndex(selected);
    for (int i = 0; i < count(); ++i) {
        const QString item = QString::fromStdString(items[static_cast<size_t>(i)]);
        if (itemText(i) != item)
            setItemText(i, item);
    }
    if (currentText() != text)
        setEditText(text);
}

} // namespace orlenta
