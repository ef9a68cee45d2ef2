#include "gui/state/OvcComponentState.h"

#include "core/state/OvcIniFileStore.h"
#include "core/state/StoredProperties.h"
#include "gui/state/HistoryComboBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace orlenta {

namespace {

enum class TPropertyKind { None, Boolean, Text, List };

TPropertyKind KindOf(const QWidget* control, const std::string& property) {
    if (property == "Checked") {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        return button != nullptr && button->isCheckable() ? TPropertyKind::Boolean
                                                          : TPropertyKind::None;
    }
    if (property == "Text") {
        return qobject_cast<const QComboBox*>(control) != nullptr ||
                       qobject_cast<const QLineEdit*>(control) != nullptr
                   ? TPropertyKind::Text
                   : TPropertyKind::None;
    }
    if (property == "Items")
        return qobject_cast<const QComboBox*>(control) ? TPropertyKind::List : TPropertyKind::None;
    return TPropertyKind::None;
}

QString TextOf(const QWidget* control) {
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return box->currentText();
    return static_cast<const QLineEdit*>(control)->text();
}

void SetText(QWidget* control, const QString& text) {
    if (auto* box = qobject_cast<QComboBox*>(control))
        box->setCurrentText(text);
    else
        static_cast<QLineEdit*>(control)->setText(text);
}

QStringList ItemsOf(const QComboBox* box) {
    if (const auto* history = qobject_cast<const THistoryComboBox*>(box))
        return history->Items();
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

void SetItems(QComboBox* box, const QStringList& items) {
    if (auto* history = qobject_cast<THistoryComboBox*>(box)) {
        history->SetItems(items);
        return;
    }
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentText(text);
}

void SetChecked(QAbstractButton* button, bool checked) {
    if (checked == button->isChecked())
        return;
    // Checking a radio button is what a click does: the others of its group go off and the
    // dialog's handler of the click runs.
    if (checked && button->isEnabled() && qobject_cast<QRadioButton*>(button) != nullptr)
        button->click();
    else
        button->setChecked(checked);
}

std::vector<std::string> ToStdStrings(const QStringList& texts) {
    std::vector<std::string> strings;
    for (const QString& text : texts)
        strings.push_back(text.toStdString());
    return strings;
}

QStringList ToQStrings(const std::vector<std::string>& strings) {
    QStringList texts;
    for (const std::string& text : strings)
        texts.append(QString::fromStdString(text));
    return texts;
}

// Calls visit(property, control, kind) for each entry that parses, with the control it names
// (null when the form has none) and what kind of property it is.
template <typename TVisit>
void ForEachStoredProperty(QWidget& form, const QStringList& entries, TVisit&& visit) {
    for (const QString& entry : entries) {
        const auto property = ParseStoredProperty(entry.toStdString());
        if (!property)
            continue;
        auto* control = form.findChild<QWidget*>(QString::fromStdString(property->Control));
        visit(*property, control, KindOf(control, property->Property));
    }
}

} // namespace

TOvcComponentState::TOvcComponentState(QWidget& form, TOvcIniFileStore& storage, QString section,
                                       QStringList storedProperties)
    : FForm(form), FStorage(storage), FSection(std::move(section)),
      FStoredProperties(std::move(storedProperties)) {}

void TOvcComponentState::UpdateStoredProperties() {
    QStringList kept;
    for (const QString& entry : FStoredProperties) {
        const auto property = ParseStoredProperty(entry.toStdString());
        if (property &&
            FForm.findChild<QWidget*>(QString::fromStdString(property->Control)) != nullptr)
            kept.append(entry);
    }
    FStoredProperties = kept;
}

void TOvcComponentState::RestoreState() {
    FRestored = true;
    const std::string section = FSection.toStdString();
    try {
        TIniFileStoreScope scope(FStorage);
        ForEachStoredProperty(
            FForm, FStoredProperties,
            [&](const TStoredProperty& property, QWidget* control, TPropertyKind kind) {
                switch (kind) {
                case TPropertyKind::None: break;
                case TPropertyKind::Boolean: {
                    auto* button = static_cast<QAbstractButton*>(control);
                    const std::string stored = FStorage.ReadString(
                        section, property.Key(), std::string(BooleanText(button->isChecked())));
                    if (const auto checked = ParseBooleanText(stored))
                        SetChecked(button, *checked);
                    break;
                }
                case TPropertyKind::Text:
                    SetText(control, QString::fromStdString(TrimControlText(FStorage.ReadString(
                                         section, property.Key(), TextOf(control).toStdString()))));
                    break;
                case TPropertyKind::List:
                    if (const auto items = ReadListProperty(FStorage, section, property.Key()))
                        SetItems(static_cast<QComboBox*>(control), ToQStrings(*items));
                    break;
                }
            });
    } catch (...) {
        // Restoring never stops the dialog: what was read stays, the rest keeps its design.
    }
}

void TOvcComponentState::SaveState() {
    if (!FRestored)
        return;
    const std::string section = FSection.toStdString();
    TIniFileStoreScope scope(FStorage);
    ForEachStoredProperty(
        FForm, FStoredProperties,
        [&](const TStoredProperty& property, QWidget* control, TPropertyKind kind) {
            switch (kind) {
            case TPropertyKind::None: break;
            case TPropertyKind::Boolean:
                FStorage.WriteString(
                    section, property.Key(),
                    BooleanText(static_cast<QAbstractButton*>(control)->isChecked()));
                break;
            case TPropertyKind::Text:
                FStorage.WriteString(section, property.Key(),
                                     TrimControlText(TextOf(control).toStdString()));
                break;
            case TPropertyKind::List:
                WriteListProperty(FStorage, section, property.Key(),
                                  ToStdStrings(ItemsOf(static_cast<QComboBox*>(control))));
                break;
            }
        });
    scope.Close();
}

} // namespace orlenta
