#include "gui/search/OverlapDialog.h"

#include "gui/SizeAndDateText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("orlenta::TOverlapDialog", "The disc holds no files.");
    const QString files = ToQString(ShareText(overlap.AllOthers.Files, overlap.Files));
    if (overlap.Bytes == 0)
        return QCoreApplication::translate("orlenta::TOverlapDialog",
                                           "%1 of its files are on other discs.")
            .arg(files);
    return QCoreApplication::translate("orlenta::TOverlapDialog",
                                       "%1 of its files (%2 of its bytes) are on other discs.")
        .arg(files, ToQString(ShareText(overlap.AllOthers.Bytes, overlap.Bytes)));
}

QTreeWidget* TOverlapDialog::CreateOverlapTable(const TNameIndex& index, const TOverlap& overlap) {
    auto* table = Named(new QTreeWidget(this), "OverlapView");
    table->setAccessibleName(tr("Overlap with other discs"));
    table->setRootIsDecorated(false);
    table->setAllColumnsShowFocus(true);
    table->setHeaderLabels({tr("Disc"), tr("Title"), tr("Files found"), tr("Bytes found"),
                            tr("Share of files"), tr("Share of bytes")});
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
    QTreeWidgetItem* all = addRow(overlap.AllOthers, QStringLiteral("*"), tr("All other discs"));
    QFont bold = all->font(0);
    bold.setBold(true);
    for (int column = 0; column < 6; ++column)
        all->setFont(column, bold);
    table->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->header()->setStretchLastSection(false);
    for (int column : {0, 2, 3, 4, 5})
        table->resizeColumnToContents(column);
    return table;
}

TOverlapDialog::TOverlapDialog(QWidget* parent, const TNameIndex& index, const TOverlap& overlap,
                               double milliseconds)
    : QDialog(parent) {
    Named(this, "OverlapDialog");
    const QString title = ToQString(index.Disc(overlap.Disc).Title);
    setWindowTitle(tr("Overlap of %1").arg(title));
    setAccessibleName(windowTitle());

    const QString files = QLocale().toString(static_cast<qulonglong>(overlap.Files));
    const QString summaryText = OverlapSummary(overlap).toHtmlEscaped();
    const QString summaryLine =
        overlap.Bytes > 0
            ? tr("<b>%1</b>: %2 files, %3. %4")
                  .arg(title.toHtmlEscaped(), files, SizeText(overlap.Bytes), summaryText)
            : tr("<b>%1</b>: %2 files. %3").arg(title.toHtmlEscaped(), files, summaryText);
    auto* summary = Named(new QLabel(summaryLine, this), "OverlapSummaryLabel");
    summary->setAccessibleName(tr("Overlap summary"));
    summary->setWordWrap(true);

    QTreeWidget* table = CreateOverlapTable(index, overlap);

    const QString foundIn =
        tr("Found in %1 ms").arg(QLocale().toString(std::max(1.0, milliseconds), 'f', 0));
    auto* status = Named(new QLabel(foundIn, this), "OverlapStatusLabel");
    auto* buttons = Named(new QDialogButtonBox(QDialogButtonBox::Close, this), "OverlapButtons");
    QPushButton* close = Named(buttons->button(QDialogButtonBox::Close), "CloseButton");
    close->setAccessibleName(tr("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table, 1);
    layout->addWidget(status);
    layout->addWidget(buttons);
    resize(640, 360);
}

} // namespace orlenta
