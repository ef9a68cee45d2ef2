#include "gui/search/SearchDialogForm.h"

#include "gui/WidgetNames.h"
#include "gui/search/FindHitModel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orlenta {

namespace {

QCheckBox* NewCheckBox(TSearchField field, const char* name, bool ticked) {
    auto* box = Named(new QCheckBox(FindFieldCaption(field)), name);
    box->setChecked(ticked);
    return box;
}

} // namespace

TSearchDialogForm::TSearchDialogForm(QWidget* parent) : TOwnDialog(parent) {
    Named(this, "SearchDialogForm");
    setWindowTitle(tr("Search"));

    GroupBox2 = Named(new QGroupBox, "GroupBox2");
    auto* groupLayout = new QVBoxLayout(GroupBox2);
    HostPanel = Named(new QWidget, "HostPanel");
    groupLayout->addWidget(HostPanel);

    auto* layout = new QVBoxLayout(HostPanel);
    auto* searchForLabel = new QLabel(tr("Search for"));
    SearchTextEdit = Named(new QLineEdit, "SearchTextEdit");
    SearchTextEdit->setMinimumWidth(360);
    searchForLabel->setBuddy(SearchTextEdit);
    Label1 = Named(new QLabel(tr("Search in")), "Label1");
    SearchInTitleCheckBox = NewCheckBox(TSearchField::Title, "SearchInTitleCheckBox", true);
    SearchInVendorCheckBox = NewCheckBox(TSearchField::Vendor, "SearchInVendorCheckBox", true);
    SearchInMemoCheckBox = NewCheckBox(TSearchField::Memo, "SearchInMemoCheckBox", true);
    SearchInDirectoryCheckBox =
        NewCheckBox(TSearchField::Directory, "SearchInDirectoryCheckBox", true);
    SearchInFilenameCheckBox =
        NewCheckBox(TSearchField::Filename, "SearchInFilenameCheckBox", false);
    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : {SearchInTitleCheckBox, SearchInVendorCheckBox, SearchInMemoCheckBox,
                           SearchInDirectoryCheckBox, SearchInFilenameCheckBox})
        boxes->addWidget(box);
    boxes->addStretch(1);
    layout->addWidget(searchForLabel);
    layout->addWidget(SearchTextEdit);
    layout->addWidget(Label1);
    layout->addLayout(boxes);

    SetContent(GroupBox2, QStringLiteral("ButtonsPanel"));
    OkButton->setText(tr("&Search"));
    Button2 = Named(Button1, "Button2");
    SearchTextEdit->setFocus();
}

TSearchRequest TSearchDialogForm::Request() const {
    TSearchRequest request;
    request.Text = SearchTextEdit->text().toStdString();
    request.InTitle = SearchInTitleCheckBox->isChecked();
    request.InVendor = SearchInVendorCheckBox->isChecked();
    request.InMemo = SearchInMemoCheckBox->isChecked();
    request.InDirectory = SearchInDirectoryCheckBox->isChecked();
    request.InFilename = SearchInFilenameCheckBox->isChecked();
    request.Wildcards = false; // the Search command never reads a keyword as a pattern
    return request;
}

} // namespace orlenta
