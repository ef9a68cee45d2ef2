#include "gui/OwnDialog.h"

#include "gui/WidgetNames.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace orlenta {

TOwnDialog::TOwnDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setModal(true);
}

void TOwnDialog::SetContent(QWidget* content, const QString& buttonsPanelName) {
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(content);
    auto* buttonsPanel = Named(new QWidget, buttonsPanelName);
    auto* buttons = new QHBoxLayout(buttonsPanel);
    buttons->setContentsMargins(0, 0, 0, 0);
    OkButton = Named(new QPushButton(tr("&Ok")), "OkButton");
    OkButton->setDefault(true);
    Button1 = Named(new QPushButton(tr("&Cancel")), "Button1");
    // Only OK answers Enter, even while Cancel has the focus.
    Button1->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(Button1);
    layout->addWidget(buttonsPanel);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

void TOwnDialog::keyPressEvent(QKeyEvent* event) {
    // QDialog would reject on Escape; a stray Escape must not throw away what was typed.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orlenta
