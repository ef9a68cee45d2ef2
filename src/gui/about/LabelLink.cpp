#include "gui/about/LabelLink.h"

#include "gui/WidgetNames.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

namespace orlenta {

namespace {

constexpr const char* kLinkTargetProperty = "orlentaLinkTarget";
constexpr const char* kHandlersName = "LabelToLinkEventHandlers";

void OpenWithSystem(const QString& target) {
    // A link that no program takes simply does nothing, as a click on a dead link would.
    QDesktopServices::openUrl(QUrl(target));
}

TLinkOpener& CurrentOpener() {
    static TLinkOpener opener = OpenWithSystem;
    return opener;
}

bool IsLinkLabel(const QObject* object) {
    const auto* label = qobject_cast<const QLabel*>(object);
    return label != nullptr && !LabelLinkTarget(label).isEmpty();
}

void ShowLinkState(QLabel* label, bool hovered) {
    QFont font = label->font();
    font.setUnderline(hovered);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, hovered ? QColor(Qt::blue) : QColor(Qt::black));
    label->setPalette(palette);
}

void ResetLinkLabels(QObject* parent) {
    for (QLabel* label : parent->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (IsLinkLabel(label))
            ShowLinkState(label, false);
}

// One per parent widget: it watches the parent and each of its link labels.
class TLabelToLinkEventHandlers : public QObject {
public:
    explicit TLabelToLinkEventHandlers(QObject* parent) : QObject(parent) {
        Named(this, kHandlersName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool onLabel = watched != parent() && IsLinkLabel(watched);
        switch (event->type()) {
        case QEvent::MouseMove:
            if (!onLabel) {
                if (watched == parent())
                    ResetLinkLabels(parent());
                return false;
            }
            ResetLinkLabels(watched->parent());
            ShowLinkState(static_cast<QLabel*>(watched), true);
            // Handled here: passed on to the parent, the move would reset the label again.
            event->accept();
            return true;
        case QEvent::Leave:
            // The parent sees no move when the mouse leaves the window straight from a label.
            if (onLabel)
                ShowLinkState(static_cast<QLabel*>(watched), false);
            return false;
        case QEvent::MouseButtonRelease: {
            if (!onLabel)
                return false;
            auto* label = static_cast<QLabel*>(watched);
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton ||
                !label->rect().contains(mouse->position().toPoint()))
                return false;
            ResetLinkLabels(label->parent());
            OpenLink(LabelLinkTarget(label));
            event->accept();
            return true;
        }
        default: return false;
        }
    }
};

} // namespace

void MakeLabelLink(QLabel* label, const QString& target) {
    label->setProperty(kLinkTargetProperty, target);
    label->setCursor(Qt::PointingHandCursor);
    label->setMouseTracking(true);
    QObject* owner = label->parentWidget() != nullptr ? static_cast<QObject*>(label->parentWidget())
                                                      : static_cast<QObject*>(label);
    auto* handlers = dynamic_cast<TLabelToLinkEventHandlers*>(
        owner->findChild<QObject*>(QString::fromLatin1(kHandlersName), Qt::FindDirectChildrenOnly));
    if (handlers == nullptr) {
        handlers = new TLabelToLinkEventHandlers(owner);
        if (QWidget* parent = label->parentWidget()) {
            parent->setMouseTracking(true);
            parent->installEventFilter(handlers);
        }
    }
    label->installEventFilter(handlers);
}

QString LabelLinkTarget(const QLabel* label) {
    return label->property(kLinkTargetProperty).toString();
}

void OpenLink(const QString& target) {
    CurrentOpener()(target);
}

TLinkOpener SetLinkOpener(TLinkOpener opener) {
    TLinkOpener previous = std::move(CurrentOpener());
    CurrentOpener() = opener ? std::move(opener) : TLinkOpener(OpenWithSystem);
    return previous;
}

} // namespace orlenta
