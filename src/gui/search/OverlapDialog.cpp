#include "gui/search/OverlapDialog.h"

#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orlenta {

QString OverlapSummary(const TOverlap& overlap) {
    if (overlap.Files == 0)
        return QStringLiteral("The disc holds no files.");
    QString text = ToQString(ShareText(overlap.AllOthers.Files, overlap.Files)) +
                   QStringLiteral(" of its files");
    if (overlap.Bytes > 0)
        text += QStringLiteral(" (") +
                ToQString(ShareText(overlap.AllOthers.Bytes, overlap.Bytes)) +
                QStringLiteral(" of its bytes)");
    return text + QStringLiteral(" are on other discs.");
}

TOverlapDialog::TOverlapDialog(QWidget* parent, const TNameIndex& index, const TOverlap& overlap,
                               double milliseconds)
    : QDialog(parent) {
    setObjectName(QStringLiteral("OverlapDialog"));
    const QString title = ToQString(index.Disc(overlap.Disc).Title);
    setWindowTitle(QStringLiteral("Overlap of ") + title);
    setAccessibleName(windowTitle());

    auto* summary = new QLabel(
        QStringLiteral("<b>") + title.toHtmlEscaped() + QStringLiteral("</b>: ") +
            QLocale().toString(static_cast<qulonglong>(overlap.Files)) + QStringLiteral(" files") +
            (overlap.Bytes > 0 ? QStringLiteral(", ") + SizeText(overlap.Bytes) : QString()) +
            QStringLiteral(". ") + OverlapSummary(overlap).toHtmlEscaped(),
        this);
    summary->setObjectName(QStringLiteral("OverlapSummaryLabel"));
    summary->setAccessibleName(QStringLiteral("Overlap summary"));
    summary->setWordWrap(true);

    auto* table = new QTreeWidget(this);
    table->setObjectName(QStringLiteral("OverlapView"));
    table->setAccessibleName(QStringLiteral("Overlap with other discs"));
    table->setRootIsDecorated(false);
    table->setAllColumnsShowFocus(true);
    table->setHeaderLabels({QStringLiteral("Disc"), QStringLiteral("Title"),
                            QStringLiteral("Files found"), QStringLiteral("Bytes found"),
                            QStringLiteral("Share of files"), QStringLiteral("Share of bytes")});
    const auto addRow = [&](const TOverlapCount& count, const QString& discText,
                            const QString& titleText) {
        auto* item = new QTreeWidgetItem(
            table, {discText, titleText, QLocale().toString(static_cast<qulonglong>(count.Files)),
                    overlap.Bytes > 0 ? SizeText(count.Bytes) : QString(),
                    ToQString(ShareText(count.Files, overlap.Files)),
                    ToQString(ShareText(count.Bytes, overlap.Bytes))});
        for (int column = 2; column < 6; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (overlap.Bytes > 0)
            item->setToolTip(3, ExactSizeText(count.Bytes));
        return item;
    };
    for (const TOverlapCount& count : overlap.Discs)
        addRow(count, QString::number(count.Disc), ToQString(index.Disc(count.Disc).Title));
    QTreeWidgetItem* all =
        addRow(overlap.AllOthers, QStringLiteral("*"), QStringLiteral("All other discs"));
    QFont bold = all->font(0);
    bold.setBold(true);
    for (int column = 0; column < 6; ++column)
        all->setFont(column, bold);
    table->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->header()->setStretchLastSection(false);
    for (int column : {0, 2, 3, 4, 5})
        table->resizeColumnToContents(column);

    auto* status = new QLabel(QStringLiteral("Found in ") +
                                  QLocale().toString(std::max(1.0, milliseconds), 'f', 0) +
                                  QStringLiteral(" ms"),
                              this);
    status->setObjectName(QStringLiteral("OverlapStatusLabel"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("OverlapButtons"));
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    layout->addWidget(status);
    layout->addWidget(buttons);
    resize(640, 360);
}

} // namespace orlenta
